// The IO and UI objects: every path getter under a test HOME and XDG
// folders, text files in UTF-8 and UTF-16, downloads from the loopback
// server, program starts handed to the host unchanged, and the dialogs'
// fallbacks when nobody answers.
#include <gmock/gmock.h>

#include <filesystem>
#include <set>

#include "tests/support/http_server.h"
#include "tests/support/scoped_env.h"
#include "tests/support/test_host.h"
#include "tests/vorel/objects/object_fixture.h"
#include "vorel/model/desklet.h"
#include "vorel/script/objects/vorel_io.h"
#include "vorel/script/objects/vorel_main.h"

using testing::HasSubstr;

namespace foreigntest {
namespace {

class IoUiTest : public objecttest::ObjectFixture {
 protected:
  testing_support::ScopedEnv home_{"HOME", dir_.Path() + "home"};
  testing_support::ScopedEnv config_{"XDG_CONFIG_HOME", std::nullopt};
  testing_support::ScopedEnv temporary_{"TMPDIR", dir_.Path() + "tmp/"};
  testing_support::WithoutProxy direct_;
};

TEST_F(IoUiTest, EveryPathGetterFollowsTheTestHome) {
  const std::string home = dir_.Path() + "home";
  EXPECT_EQ(Eval("IO.GetUserDocumentPath()"), home + "/Documents");
  EXPECT_TRUE(std::filesystem::is_directory(home + "/Documents")) << "made when asked for";
  EXPECT_EQ(Eval("IO.GetSystemDirectory('MYDOCUMENTS')"), home + "/Documents");
  EXPECT_EQ(Eval("IO.GetSystemDirectory('mydocuments')"), home + "/Documents");
  EXPECT_EQ(Eval("IO.GetSystemDirectory('MyMusic')"), home + "/Music");
  EXPECT_EQ(Eval("IO.GetSystemDirectory('MYVIDEOS')"), home + "/Videos");
  EXPECT_EQ(Eval("IO.GetSystemDirectory('MYPICTURES')"), home + "/Pictures");
  EXPECT_EQ(Eval("IO.GetSystemDirectory('DESKTOP')"), home + "/Desktop");
  EXPECT_EQ(Eval("IO.GetSystemDirectory('TEMP')"), "");
  EXPECT_EQ(Eval("IO.GetTmpPath()"), dir_.Path() + "tmp/");
  EXPECT_EQ(Eval("IO.GetSkinResPath()"), D().settings.resourcePath);
  EXPECT_EQ(Eval("IO.GetSkinPath()"), D().settings.skinPath);
  EXPECT_EQ(Eval("IO.GetSkinCtrlPath()"), D().settings.controlPath);
  EXPECT_FALSE(D().settings.resourcePath.empty());
}

TEST_F(IoUiTest, UserDirsFileNamesTheFolders) {
  const std::string home = dir_.Path() + "home";
  dir_.Write("home/.config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/Papers\"\nXDG_MUSIC_DIR=\"$HOME/Tunes\"\n");
  EXPECT_EQ(Eval("IO.GetUserDocumentPath()"), home + "/Papers");
  EXPECT_EQ(Eval("IO.GetSystemDirectory('MYMUSIC')"), home + "/Tunes");
}

TEST_F(IoUiTest, TextFilesReadInUtf8AndUtf16) {
  dir_.Write("plain.txt", "one\ntwo\r\nthree");
  EXPECT_EQ(Eval("IO.GetTextFile('" + dir_.File("plain.txt") + "')"), "one\r\ntwo\r\nthree\r\n");
  // "Grüße" and a line break, UTF-16 little-endian with its mark.
  const std::string le("\xFF\xFEG\0r\0\xFC\0\xDF\0""e\0\n\0x\0", 16);
  dir_.Write("le.txt", le);
  EXPECT_EQ(Eval("IO.GetTextFile('" + dir_.File("le.txt") + "')"), "Grüße\r\nx\r\n");
  const std::string be("\xFE\xFF\0G\0\xFC", 6);
  dir_.Write("be.txt", be);
  EXPECT_EQ(Eval("IO.GetTextFile('" + dir_.File("be.txt") + "')"), "Gü\r\n");
  dir_.Write("bom.txt", "\xEF\xBB\xBFhi");
  EXPECT_EQ(Eval("IO.GetTextFile('" + dir_.File("bom.txt") + "')"), "hi\r\n");
  EXPECT_THAT(ErrorOf("IO.GetTextFile('" + dir_.File("missing.txt") + "')"), HasSubstr("Cannot open file"));
  EXPECT_THAT(ErrorOf("IO.GetTextFile('" + dir_.Path() + "')"), HasSubstr("Cannot open file"));
}

TEST_F(IoUiTest, DownloadsFromTheLoopbackServer) {
  testing_support::HttpServer server;
  server.Route("/file.bin", {.body = std::string("bytes\0and more", 14)});
  server.Route("/gone", {.status = 404, .body = "not here"});
  const std::string target = dir_.File("got.bin");
  EXPECT_EQ(Eval("IO.URLToFile('" + server.Url("/file.bin") + "', '" + target + "')"), "True");
  EXPECT_EQ(testing_support::TempDir::Read(target), std::string("bytes\0and more", 14));
  ASSERT_EQ(server.Requests().size(), 1u);
  EXPECT_EQ(server.Requests()[0].Header("User-Agent"), "Vorel_Objects");
  EXPECT_EQ(Eval("IO.URLToFile('" + server.Url("/gone") + "', '" + dir_.File("page.html") + "')"), "True")
      << "an error page is saved like a document";
  EXPECT_EQ(testing_support::TempDir::Read(dir_.File("page.html")), "not here");
  EXPECT_EQ(Eval("IO.URLToFile('http://127.0.0.1:1/none', '" + dir_.File("none") + "')"), "False");
  EXPECT_EQ(Eval("IO.URLToFile('" + server.Url("/file.bin") + "', '" + dir_.Path() + "no/such/folder/x')"), "False");
}

TEST_F(IoUiTest, FoldersAndUniqueNames) {
  EXPECT_EQ(Eval("IO.CreateDirectory('" + dir_.Path() + "made')"), "True");
  EXPECT_TRUE(std::filesystem::is_directory(dir_.Path() + "made"));
  EXPECT_EQ(Eval("IO.CreateDirectory('" + dir_.Path() + "made')"), "False");
  EXPECT_EQ(Eval("IO.CreateDirectory('" + dir_.Path() + "a/b/c')"), "False") << "one folder at a time";
  std::set<std::string> names;
  for (int i = 0; i < 20; ++i) {
    const std::string name = Eval("IO.GenerateUniqueName()");
    EXPECT_THAT(name, testing::MatchesRegex("[0-9A-F]{32}"));
    names.insert(name);
  }
  EXPECT_EQ(names.size(), 20u);
}

TEST_F(IoUiTest, ProgramStartsReachTheHostUnchanged) {
  testhost::TestHost::Get().Reset();
  Run("IO.ShellExecutes('/bin/echo', '\"a;b\" $(touch x) `id`')");
  Run("IO.ShellExecutes('notes.txt', '', '/tmp', 0, 'edit')");
  const auto calls = testhost::TestHost::Get().CallsOf("WinShellExecute");
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].args, (std::vector<std::string>{"0", "OPEN", "/bin/echo", "\"a;b\" $(touch x) `id`", "", "1"}));
  EXPECT_EQ(calls[1].args, (std::vector<std::string>{"0", "edit", "notes.txt", "", "/tmp", "0"}));
}

TEST_F(IoUiTest, DialogsWithoutAnAnswerGiveTheirFallbacks) {
  EXPECT_EQ(Eval("UI.InputBox('Title', 'Name?', 'nobody')"), "nobody");
  EXPECT_EQ(Eval("UI.PromptColor()"), "");
  EXPECT_EQ(Eval("UI.PromptOpenFile()"), "");
  EXPECT_EQ(Eval("UI.PromptSaveFile('/tmp', 'Text|*.txt', 'txt', 'Save')"), "");
  EXPECT_EQ(Eval("UI.PromptDirectory('Where?')"), "");
}

TEST_F(IoUiTest, FormatDateTimeBuildsAndFormats) {
  EXPECT_EQ(Eval("UI.FormatDateTime(2004, 2, 29, 13, 5, 0, 0, 'yyyy-mm-dd hh:nn')"), "2004-02-29 13:05");
  EXPECT_EQ(Eval("UI.FormatDateTime(2004, 2, 29, 13, 5, 7, 42, 'd/m/yy h:mm:ss.zzz am/pm')"), "29/2/04 1:05:07.042 pm");
  EXPECT_EQ(Eval("UI.FormatDateTime(2024, 7, 1, 0, 0, 0, 0, 'dddd d mmmm \"at\" hh')"), "Monday 1 July at 00");
  EXPECT_THAT(ErrorOf("UI.FormatDateTime(2004, 13, 1, 0, 0, 0, 0, 'yyyy')"), HasSubstr("date encode"));
  EXPECT_THAT(ErrorOf("UI.FormatDateTime(2003, 2, 29, 0, 0, 0, 0, 'yyyy')"), HasSubstr("date encode"));
  EXPECT_THAT(ErrorOf("UI.FormatDateTime(2004, 1, 1, 24, 0, 0, 0, 'yyyy')"), HasSubstr("time encode"));
}

TEST_F(IoUiTest, TheHelpersAreKeptAndStopWithTheDesklet) {
  auto* main = vorel::TVorelMain::From(D().scripting.mainObject.Get());
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(main->GetIO().Dispatch(), main->GetIO().Dispatch());
  EXPECT_EQ(main->GetUI().Dispatch(), main->GetUI().Dispatch());
  EXPECT_EQ(main->GetXmls().Dispatch(), main->GetXmls().Dispatch());
  // A script that kept the helper finds it doing nothing once the desklet
  // is gone.
  automation::ComPtr<automation::IDispatch> io(main->GetIO().Dispatch());
  TearDown();
  instance_ = nullptr;
  auto* kept = dynamic_cast<vorel::TVorelIO*>(io.Get());
  ASSERT_NE(kept, nullptr);
  EXPECT_FALSE(kept->IsBound());
  testhost::TestHost::Get().Reset();
}

TEST(TextFileLines, LineEndsOfEveryKindBecomeCrLf) {
  EXPECT_EQ(vorel::TextFileLines("a\rb\nc\r\n\r\nd"), "a\r\nb\r\nc\r\n\r\nd\r\n");
  EXPECT_EQ(vorel::TextFileLines(""), "");
  EXPECT_EQ(vorel::TextFileLines(std::string("\xFF\xFE", 2)), "");
  EXPECT_EQ(vorel::TextFileLines(std::string("\xFF\xFE" "a", 3)), "") << "an odd byte is dropped";
}

}  // namespace
}  // namespace foreigntest
