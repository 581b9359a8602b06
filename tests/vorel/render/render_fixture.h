// A desklet made by the plug-in's own OnCreate against the recording test
// host, with a skin folder to write images and skins into.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/gdiplus/bitmap.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_host.h"
#include "vorel/model/desklet.h"

namespace rendertest {

class DeskletFixture : public ::testing::Test {
 protected:
  static constexpr HWND kWindow = 0x3100;

  void SetUp() override;
  void TearDown() override;
  vorel::TDeskletObject& D() { return *vorel::AsDesklet(instance_); }

  // A solid PNG of the size in the skin folder; returns its path.
  std::string WritePng(const std::string& name, int width, int height, gdiplus::ARGB color);
  // Loads a skin written into the skin folder.
  void LoadSkin(const std::string& xml);
  // The calls of one function whose second argument is the layer id.
  std::vector<testhost::Call> LayerCalls(const std::string& fn, uint32_t id);

  testing_support::TempDir dir_;
  void* instance_ = nullptr;
};

}  // namespace rendertest
