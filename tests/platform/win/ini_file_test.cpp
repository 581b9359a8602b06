#include "platform/win/ini_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/support/temp_dir.h"

using testing_support::TempDir;

namespace {

TEST(IniFile, ReadsASectionInFileOrderWithoutRegardToCase) {
  TempDir dir;
  auto file = dir.Write("a.ini", "[One]\nb = 2\n; comment\na=1\nnot a pair\n[two]\nc=3\n");
  EXPECT_EQ(win::ReadIniSection(file, "one"), (win::IniEntries{{"b", "2"}, {"a", "1"}}));
  EXPECT_EQ(win::ReadIniSection(file, "TWO"), (win::IniEntries{{"c", "3"}}));
  EXPECT_TRUE(win::ReadIniSection(file, "three").empty());
  EXPECT_TRUE(win::ReadIniSection(dir.File("missing.ini"), "One").empty());
}

TEST(IniFile, WritingChangesOnlyTheGivenKeys) {
  TempDir dir;
  auto file = dir.Write("a.ini", "# top\n[One]\nA=1\nB=2\n\n[Two]\nA=9\n");
  win::WriteIniStrings(file, "one", {{"b", "20"}, {"C", "3"}});
  // An existing key keeps its spelling.
  EXPECT_EQ(TempDir::Read(file), "# top\n[One]\nA=1\nB=20\nC=3\n\n[Two]\nA=9\n");
  win::WriteIniString(file, "Three", "X", "y");
  EXPECT_EQ(win::ReadIniSection(file, "Three"), (win::IniEntries{{"X", "y"}}));
  EXPECT_EQ(win::ReadIniSection(file, "Two"), (win::IniEntries{{"A", "9"}}));
}

TEST(IniFile, LineBreaksInWrittenTextsCannotAddKeysOrSections) {
  TempDir dir;
  auto file = dir.Write("a.ini", "[Other]\nkey=0\n");
  win::WriteIniStrings(file, "Desk", {{"Note", "one\r\n[Other]\nkey=1"}, {"A\nB", "v"}});
  EXPECT_EQ(win::ReadIniSection(file, "Other"), (win::IniEntries{{"key", "0"}}));
  EXPECT_EQ(win::ReadIniSection(file, "Desk"), (win::IniEntries{{"Note", "one  [Other] key=1"}, {"A B", "v"}}));
  // Written again, the same names find their lines instead of adding more.
  win::WriteIniStrings(file, "Desk", {{"A\nB", "w"}, {" Note ", "two"}});
  win::WriteIniStrings(file, "De\nsk", {{"k", "1"}});
  win::WriteIniStrings(file, "De\nsk", {{"k", "2"}});
  EXPECT_EQ(win::ReadIniSection(file, "Desk"), (win::IniEntries{{"Note", "two"}, {"A B", "w"}}));
  EXPECT_EQ(win::ReadIniSection(file, "De sk"), (win::IniEntries{{"k", "2"}}));
}

TEST(IniFile, WritingIntoAMissingFileCreatesIt) {
  TempDir dir;
  win::WriteIniString(dir.File("new.ini"), "S", "k", "v");
  EXPECT_EQ(TempDir::Read(dir.File("new.ini")), "[S]\nk=v\n");
}

TEST(IniFile, FailedWriteLeavesTheOldFile) {
  TempDir dir;
  auto file = dir.Write("a.ini", "[S]\nk=old\n");
  chmod(dir.Path().c_str(), 0500);
  if (geteuid() != 0) {
    EXPECT_THROW(win::WriteIniString(file, "S", "k", "new"), std::runtime_error);
    EXPECT_EQ(TempDir::Read(file), "[S]\nk=old\n");
  }
  chmod(dir.Path().c_str(), 0700);
}

TEST(IniFile, AProcessKilledWhileWritingLeavesTheOldOrTheNewFile) {
  TempDir dir;
  const std::string a(200000, 'a'), b(200000, 'b');
  auto file = dir.Write("a.ini", "[S]\nk=" + a + "\n");
  for (int round = 0; round < 5; ++round) {
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (int i = 0;; ++i) win::WriteIniString(file, "S", "k", i % 2 ? a : b);
    }
    usleep(20000 + round * 7000);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    std::string content = TempDir::Read(file);
    EXPECT_TRUE(content == "[S]\nk=" + a + "\n" || content == "[S]\nk=" + b + "\n") << "round " << round;
  }
}

TEST(IniFile, RemovingSectionsKeepsEveryOtherLine) {
  TempDir dir;
  auto file = dir.Write("r.ini",
                        "; a comment\n[Keep]\na=1\n\n[Drop\\One]\nx=1\n; its comment\n\n[keep2]\nb=2\n"
                        "[DROP\\one]\ny=2\n[Two]\nz=3\n");
  EXPECT_EQ(win::RemoveIniSections(file, {"drop\\ONE", "two", "absent"}), 3u);
  EXPECT_EQ(TempDir::Read(file), "; a comment\n[Keep]\na=1\n\n[keep2]\nb=2\n");
  EXPECT_TRUE(win::ReadIniSection(file, "Drop\\One").empty());
  EXPECT_EQ(win::ReadIniSection(file, "Keep"), (win::IniEntries{{"a", "1"}}));
}

TEST(IniFile, WritingSeveralSectionsAtOnceKeepsTheRest) {
  TempDir dir;
  auto file = dir.Write("w.ini", "[Other]\nq=1\n\n[A]\nk=old\nkeep=yes\n");
  win::WriteIniSections(file, {{"a", {{"K", "new"}}}, {"B\\C", {{"@", "x=y"}, {"T", "Apartment"}}}});
  EXPECT_EQ(TempDir::Read(file), "[Other]\nq=1\n\n[A]\nk=new\nkeep=yes\n\n[B\\C]\n@=x=y\nT=Apartment\n");
  EXPECT_EQ(win::ReadIniSection(file, "b\\c"), (win::IniEntries{{"@", "x=y"}, {"T", "Apartment"}}));
}

TEST(IniFile, RemovingAbsentSectionsLeavesTheFileUntouched) {
  TempDir dir;
  auto file = dir.Write("r.ini", "[A]\nk=v\n\n\n");
  EXPECT_EQ(win::RemoveIniSections(file, {"B"}), 0u);
  EXPECT_EQ(TempDir::Read(file), "[A]\nk=v\n\n\n");
  EXPECT_EQ(win::RemoveIniSections(dir.File("missing.ini"), {"A"}), 0u);
  EXPECT_FALSE(std::filesystem::exists(dir.File("missing.ini")));
  EXPECT_EQ(win::RemoveIniSections(file, {}), 0u);
}

TEST(IniFile, RemovingTheOnlySectionLeavesAnEmptyFile) {
  TempDir dir;
  auto file = dir.Write("r.ini", "[A]\nk=v\n");
  EXPECT_EQ(win::RemoveIniSections(file, {"a"}), 1u);
  EXPECT_EQ(TempDir::Read(file), "");
}

TEST(IniFile, FailedRemovalLeavesTheOldFile) {
  TempDir dir;
  auto file = dir.Write("a.ini", "[S]\nk=old\n[T]\nj=1\n");
  chmod(dir.Path().c_str(), 0500);
  if (geteuid() != 0) {
    EXPECT_THROW(win::RemoveIniSections(file, {"S"}), std::runtime_error);
    EXPECT_EQ(TempDir::Read(file), "[S]\nk=old\n[T]\nj=1\n");
  }
  chmod(dir.Path().c_str(), 0700);
}

}  // namespace
