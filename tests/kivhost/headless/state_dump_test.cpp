// The state dump as JSON: every desklet lists its error log.
#include "kivhost/headless/state_dump.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace kivhost {
namespace {

TEST(StateDump, EveryDeskletListsItsErrorLog) {
  Host& host = Host::Get();
  HostDesklet& quiet = host.CreateDesklet();
  HostDesklet& failing = host.CreateDesklet();
  failing.errorLog = {"1  source", "text  Line:2   Column:3   x", "-------------------------------"};
  const HWND a = quiet.Hwnd(), b = failing.Hwnd();

  const json state = StateJson(host);
  ASSERT_EQ(state["desklets"].size(), 2u);
  for (const json& d : state["desklets"]) {
    ASSERT_TRUE(d.contains("errorLog")) << d.dump();
    if (d["hwnd"] == a) EXPECT_EQ(d["errorLog"], json::array());
    else EXPECT_EQ(d["errorLog"], json(failing.errorLog));
  }

  testing_support::TempDir dir;
  WriteState(host, dir.File("s.json"));
  const json written = json::parse(testing_support::TempDir::Read(dir.File("s.json")));
  EXPECT_EQ(written, state);
  host.RemoveDesklet(a);
  host.RemoveDesklet(b);
}

}  // namespace
}  // namespace kivhost
