// Whole-file replacement: the content, the mode, the temporaries, and what
// writers racing on one file or killed half-way leave.
#include "platform/util/atomic_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/temp_dir.h"

using testing_support::TempDir;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> Names(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(ReplaceFileContent, WritesNewFilesAndKeepsTheModeOfOldOnes) {
  TempDir dir;
  const std::string file = dir.File("a.txt");
  kiv::ReplaceFileContent(file, "one");
  EXPECT_EQ(TempDir::Read(file), "one");
  struct stat info {};
  ASSERT_EQ(::stat(file.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0644u);

  ASSERT_EQ(::chmod(file.c_str(), 0600), 0);
  kiv::ReplaceFileContent(file, std::string("t\0o", 3));
  EXPECT_EQ(TempDir::Read(file), std::string("t\0o", 3));
  ASSERT_EQ(::stat(file.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  kiv::ReplaceFileContent(file, "");
  EXPECT_EQ(TempDir::Read(file), "");
  EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"a.txt"})) << "no temporary stays";
}

TEST(ReplaceFileContent, AFailureLeavesTheOldFileAndNoTemporary) {
  TempDir dir;
  const std::string file = dir.Write("a.txt", "old");
  // A folder where the file should be cannot be replaced by a file.
  fs::create_directories(dir.File("b.txt"));
  EXPECT_THROW(kiv::ReplaceFileContent(dir.File("b.txt"), "new"), std::runtime_error);
  EXPECT_THROW(kiv::ReplaceFileContent(dir.File("none/c.txt"), "new"), std::runtime_error);
  EXPECT_EQ(TempDir::Read(file), "old");
  EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"a.txt", "b.txt"}));
}

TEST(ReplaceFileContent, WritersRacingOnOneFileEachLeaveAWholeVersion) {
  TempDir dir;
  const std::string file = dir.File("shared.xml");
  std::vector<std::thread> writers;
  for (char c : {'a', 'b', 'c', 'd'}) {
    writers.emplace_back([&file, c] {
      for (int i = 0; i < 50; ++i) kiv::ReplaceFileContent(file, std::string(10000 + i, c));
    });
  }
  for (auto& writer : writers) writer.join();
  const std::string last = TempDir::Read(file);
  ASSERT_GE(last.size(), 10000u);
  EXPECT_EQ(last, std::string(last.size(), last[0]));
  EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"shared.xml"}));
}

TEST(ReplaceFileContent, AProcessKilledAtAnyMomentLeavesTheOldOrTheNewContent) {
  TempDir dir;
  const std::string file = dir.File("k.txt");
  const std::string a(300000, 'a'), b(300000, 'b');
  kiv::ReplaceFileContent(file, a);
  for (int round = 0; round < 20; ++round) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (;;) {
        kiv::ReplaceFileContent(file, b);
        kiv::ReplaceFileContent(file, a);
      }
    }
    ::usleep(static_cast<useconds_t>(1000 + round * 700));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    const std::string now = TempDir::Read(file);
    EXPECT_TRUE(now == a || now == b) << "round " << round << ": " << now.size() << " bytes";
  }
}

TEST(MakeTemporaryBeside, GivesAFreshEmptyFileEachTime) {
  TempDir dir;
  const std::string file = dir.File("img.png");
  const std::string first = kiv::MakeTemporaryBeside(file);
  const std::string second = kiv::MakeTemporaryBeside(file);
  EXPECT_NE(first, second);
  EXPECT_EQ(first.rfind(file + ".tmp-", 0), 0u);
  EXPECT_TRUE(kiv::IsTemporaryName(fs::path(first).filename().string()));
  EXPECT_EQ(TempDir::Read(first), "");
  EXPECT_TRUE(fs::exists(second));
}

TEST(IsTemporaryName, KnowsTheTemporariesAndNothingElse) {
  EXPECT_TRUE(kiv::IsTemporaryName("XMLCache-A1.xml.tmp-a1B2c3"));
  EXPECT_FALSE(kiv::IsTemporaryName(".tmp-a1B2c3")) << "a temporary of no file";
  EXPECT_FALSE(kiv::IsTemporaryName("a.xml.tmp-a1B2c"));
  EXPECT_FALSE(kiv::IsTemporaryName("a.tmp-notes.txt"));
  EXPECT_FALSE(kiv::IsTemporaryName("a.xml"));
}

}  // namespace
