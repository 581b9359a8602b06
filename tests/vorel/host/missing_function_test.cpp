// A host that lacks a function the plug-in needs: the call raises the fixed
// message and the export reports failure instead of crashing.
#include <gtest/gtest.h>

#include "platform/abi/plugin_api.h"
#include "tests/support/test_host.h"
#include "vorel/host/host_api.h"
#include "vorel/util/errors.h"

namespace {

TEST(MissingHostFunction, RaisesItsNameAndCreateFails) {
  testhost::TestHost::Get().Reset();
  try {
    vorel::host::DeskletLayerAdd(1, "x");
    FAIL() << "no exception";
  } catch (const vorel::KivError& e) {
    EXPECT_STREQ(e.what(), "function DeskletLayerAdd not found");
  }
  EXPECT_EQ(OnCreate(0x10, 1, nullptr, nullptr), nullptr);
}

TEST(MissingHostFunction, ProcedureWordingForTheOptionalOnes) {
  EXPECT_EQ(vorel::HostFunctionNotFound("DeskletInvalidateRect"), "procedure DeskletInvalidateRect not found");
  EXPECT_EQ(vorel::HostFunctionNotFound("DeskletRedraw"), "function DeskletRedraw not found");
}

}  // namespace
