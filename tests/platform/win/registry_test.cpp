// The per-user registry kept as an INI file.
#include "platform/win/registry.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace {

using testing_support::ScopedEnv;
using testing_support::TempDir;

TEST(Registry, ValuesLiveInTheUsersConfigFolderOneSectionAKey) {
  TempDir dir;
  ScopedEnv config("XDG_CONFIG_HOME", dir.File("config"));
  EXPECT_EQ(win::RegistryFile(), dir.File("config/kivhost/registry.ini"));
  EXPECT_FALSE(win::ReadRegistryValue("Software\\Kivhost\\Vorel", "AutoCheckUpdate"));
  win::WriteRegistryValue("Software\\Kivhost\\Vorel", "AutoCheckUpdate", "1");
  win::WriteRegistryValue("Software\\Kivhost\\Other", "AutoCheckUpdate", "0");
  EXPECT_EQ(win::ReadRegistryValue("Software\\Kivhost\\Vorel", "AutoCheckUpdate"), "1");
  EXPECT_EQ(win::ReadRegistryValue("software\\kivhost\\vorel", "autocheckupdate"), "1");
  EXPECT_EQ(win::ReadRegistryValue("Software\\Kivhost\\Other", "AutoCheckUpdate"), "0");
  EXPECT_NE(TempDir::Read(win::RegistryFile()).find("[Software\\Kivhost\\Vorel]"), std::string::npos);
}

TEST(Registry, WritersOnSeveralThreadsLoseNothing) {
  TempDir dir;
  ScopedEnv config("XDG_CONFIG_HOME", dir.File("config"));
  std::vector<std::thread> writers;
  for (int t = 0; t < 4; ++t)
    writers.emplace_back([t] {
      for (int i = 0; i < 20; ++i)
        win::WriteRegistryValue("Software\\Test", "V" + std::to_string(t) + "_" + std::to_string(i), "x");
    });
  for (std::thread& w : writers) w.join();
  for (int t = 0; t < 4; ++t)
    for (int i = 0; i < 20; ++i)
      EXPECT_TRUE(win::ReadRegistryValue("Software\\Test", "V" + std::to_string(t) + "_" + std::to_string(i)));
}

}  // namespace
