// An image library older than the plug-in needs: layers get no images, and
// the user is told once in the process. The test runs from a folder of its
// own that holds a libkivimg.so reporting version 99
// (outdated_image_library.cpp), which the plug-in loads from beside itself.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include "platform/abi/controls_api.h"
#include "tests/support/test_host.h"
#include "vorel/host/host_api.h"
#include "vorel/host/image_library.h"
#include "vorel/host/plugin_module.h"

namespace {

using testhost::TestHost;

constexpr HWND kWindow = 0x3300;

TEST(OutdatedImageLibrary, SendsNoImagesAndWarnsOncePerProcess) {
  TestHost::Get().Reset();
  EXPECT_FALSE(vorel::ImageLibrary::Instance().CheckVersion());
  vorel::host::DeskletLayerSetImage(kWindow, 1, false, 7, false);
  vorel::host::DeskletLayerSetImage(kWindow, 2, true, 8, true);

  // The library that answered is the outdated one, not a missing one.
  void* loaded = dlopen((vorel::PluginFolder() + kImageLibraryFile).c_str(), RTLD_NOW | RTLD_NOLOAD);
  ASSERT_NE(loaded, nullptr);
  EXPECT_NE(dlsym(loaded, "OutdatedImagesCreated"), nullptr);
  dlclose(loaded);

  EXPECT_TRUE(TestHost::Get().CallsOf("DeskletLayerSetImage").empty());
  auto boxes = TestHost::Get().CallsOf("WinMessageBox");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].args[0], "kivimg.dll is outdated.  Please make sure you got the latest version.");
}

}  // namespace
