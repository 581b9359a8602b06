// Starting programs without a shell: Windows command lines split into
// arguments, the choice between running a program and opening with
// xdg-open, and a real program that receives hostile text as plain
// arguments.
#include "platform/win/shell_execute.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace win {
namespace {

using Args = std::vector<std::string>;

TEST(SplitCommandLine, BlanksSeparateAndQuotesGroup) {
  EXPECT_EQ(SplitCommandLine(""), Args{});
  EXPECT_EQ(SplitCommandLine("   \t "), Args{});
  EXPECT_EQ(SplitCommandLine("a  b\tc"), (Args{"a", "b", "c"}));
  EXPECT_EQ(SplitCommandLine("\"a b\" c"), (Args{"a b", "c"}));
  EXPECT_EQ(SplitCommandLine("x\"a b\"y"), (Args{"xa by"}));
  EXPECT_EQ(SplitCommandLine("\"\""), (Args{""}));
  EXPECT_EQ(SplitCommandLine("\"unclosed quote"), (Args{"unclosed quote"}));
}

TEST(SplitCommandLine, BackslashesEscapeOnlyBeforeAQuote) {
  EXPECT_EQ(SplitCommandLine(R"(C:\dir\file.txt)"), (Args{R"(C:\dir\file.txt)"}));
  EXPECT_EQ(SplitCommandLine(R"(a\"b)"), (Args{"a\"b"}));
  EXPECT_EQ(SplitCommandLine(R"(a\\"b c")"), (Args{R"(a\b c)"}));
  EXPECT_EQ(SplitCommandLine(R"("a""b")"), (Args{"a\"b"}));
  EXPECT_EQ(SplitCommandLine(R"("dir\\" next)"), (Args{R"(dir\)", "next"}));
}

class ShellExecuteTest : public ::testing::Test {
 protected:
  // A program that writes each of its arguments on a line of its own.
  std::string WriteRecorder() {
    const std::string path = dir_.Write("bin/record", "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"" +
                                                          dir_.File("args.txt") + "\"\n");
    ::chmod(path.c_str(), 0755);
    return path;
  }
  std::string WaitForFile(const std::string& path) {
    for (int i = 0; i < 500 && !std::filesystem::exists(path); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return testing_support::TempDir::Read(path);
  }

  testing_support::TempDir dir_;
};

TEST_F(ShellExecuteTest, HostileTextIsOnlyEverAnArgument) {
  const std::string program = WriteRecorder();
  const std::string marker = dir_.File("pwned");
  const std::string parameters = "\"a;b\" $(touch " + marker + ") `touch " + marker + "` 'q' \"x\\\"y\" |&;<>";
  EXPECT_GT(ShellExecuteNow("open", program, parameters, ""), 32);
  EXPECT_EQ(WaitForFile(dir_.File("args.txt")),
            "a;b\n$(touch\n" + marker + ")\n`touch\n" + marker + "`\n'q'\nx\"y\n|&;<>\n");
  EXPECT_FALSE(std::filesystem::exists(marker));
}

TEST_F(ShellExecuteTest, AProgramNameWithShellCharactersRunsAsThatFile) {
  const std::string odd = dir_.File("bin/we;ird $(x) \"name\"");
  std::filesystem::copy_file(WriteRecorder(), odd);
  ::chmod(odd.c_str(), 0755);
  EXPECT_GT(ShellExecuteNow("", odd, "one", ""), 32);
  EXPECT_EQ(WaitForFile(dir_.File("args.txt")), "one\n");
}

TEST_F(ShellExecuteTest, TheWorkingFolderIsTheOneGiven) {
  const std::string path =
      dir_.Write("bin/where", "#!/bin/sh\npwd > \"" + dir_.File("where.txt") + "\"\n");
  ::chmod(path.c_str(), 0755);
  std::filesystem::create_directories(dir_.File("work"));
  EXPECT_GT(ShellExecuteNow("open", path, "", dir_.File("work")), 32);
  EXPECT_EQ(WaitForFile(dir_.File("where.txt")), std::filesystem::canonical(dir_.File("work")).string() + "\n");
  EXPECT_EQ(ShellExecuteNow("open", path, "", dir_.File("no-such-folder")), 3);
}

TEST_F(ShellExecuteTest, WhatRunsAndWhatOpens) {
  const std::string program = WriteRecorder();
  const std::string opener = dir_.Write("bin/xdg-open", "#!/bin/sh\n");
  ::chmod(opener.c_str(), 0755);
  testing_support::ScopedEnv path("PATH", dir_.File("bin") + ":/usr/bin:/bin");
  const std::string document = dir_.Write("notes.txt", "x");

  EXPECT_EQ(PlanShellExecute("open", program, "\"a b\" c", "").argv, (Args{program, "a b", "c"}));
  EXPECT_EQ(PlanShellExecute("OPEN", "record", "x", "").argv, (Args{program, "x"})) << "a bare name on PATH";
  EXPECT_EQ(PlanShellExecute("open", document, "ignored", "").argv, (Args{opener, document}));
  EXPECT_EQ(PlanShellExecute("open", "notes.txt", "", dir_.Path()).argv, (Args{opener, dir_.Path() + "/notes.txt"}));
  EXPECT_EQ(PlanShellExecute("open", dir_.Path(), "", "").argv, (Args{opener, dir_.Path()}));
  EXPECT_EQ(PlanShellExecute("open", "https://example.org/a?b=1;c", "", "").argv,
            (Args{opener, "https://example.org/a?b=1;c"}));
  EXPECT_EQ(PlanShellExecute("edit", program, "x", "").argv, (Args{opener, program})) << "only open runs a program";
  EXPECT_EQ(PlanShellExecute("open", "file://" + document, "", "").argv, (Args{opener, document}));
  EXPECT_EQ(PlanShellExecute("open", "C:\\no\\such.txt", "", "").argv, Args{});
  EXPECT_EQ(PlanShellExecute("open", "", "", "").argv, Args{});
  EXPECT_EQ(ShellExecuteNow("open", dir_.File("missing.txt"), "", ""), 2);
}

}  // namespace
}  // namespace win
