// A skin's scripts with the helper objects under the real kivhost: dialogs
// answered by the scenario, a timer object ticking into the script through
// the host's message loop, an XML file written and saved, and a program
// start that headless kivhost only traces.
#include <gtest/gtest.h>

#include "kivhost_run.h"

namespace e2e {
namespace {

using testing_support::TempDir;

void WriteHelperSkin(const TempDir& dir, const std::string& onclick, const std::string& oncreate = "") {
  dir.Write("helpers/helpers.xml", R"xml(<skindata><skininfo><name>Helpers</name></skininfo>
    <sides><side id="0" width="100" height="60"/></sides>
    <desklet><keypressanim>0</keypressanim><oncreate>)xml" + oncreate + R"xml(</oncreate></desklet>
    <layers>
      <layer name="button" src="!TXT:press" x="0" y="0" width="100" height="60" fullhittest="1"
             onclick=")xml" + onclick + R"xml("/>
    </layers></skindata>)xml");
}

std::string Label(const TempDir& dir, const std::string& state) {
  const json s = ReadJson(dir.File(state));
  return s["desklets"][0]["label"].get<std::string>();
}

TEST(Helpers, DialogsTakeTheScenariosAnswers) {
  TempDir dir;
  WriteHelperSkin(dir, "n++; if (n == 1) DeskletLabel = UI.InputBox('Who', 'Name?', 'nobody'); "
                       "else if (n == 2) DeskletLabel = UI.InputBox('Who', 'Name?', 'nobody'); "
                       "else if (n == 3) DeskletLabel = UI.PromptOpenFile('/tmp', 'Text|*.txt'); "
                       "else DeskletLabel = UI.PromptColor()",
                  "n = 0");
  dir.Write("s.txt", "answer input Alice\nclick 50 30\nstate " + dir.File("1.json") +
                         "\nanswer cancel\nclick 50 30\nstate " + dir.File("2.json") +
                         "\nanswer file /tmp/notes.txt\nclick 50 30\nstate " + dir.File("3.json") +
                         "\nanswer color #FF8000\nclick 50 30\nstate " + dir.File("4.json") + "\n");
  auto r = RunHost({"--headless", "--scenario", dir.File("s.txt"), dir.File("helpers/helpers.xml")}, dir);
  ASSERT_EQ(r.exitCode, 0) << r.errors;
  EXPECT_EQ(Label(dir, "1.json"), "Alice");
  EXPECT_EQ(Label(dir, "2.json"), "nobody") << "cancelled: the default";
  EXPECT_EQ(Label(dir, "3.json"), "/tmp/notes.txt");
  EXPECT_EQ(Label(dir, "4.json"), "$000080ff");
}

TEST(Helpers, ATimerObjectTicksIntoTheScript) {
  TempDir dir;
  dir.Write("helpers/helpers.js", "var t = null;\n"
                                   "function T_Tick(count) { DeskletLabel = 'tick ' + count; if (count == 3) t.Stop(); }\n");
  dir.Write("helpers/helpers.xml", R"xml(<skindata><skininfo><name>Helpers</name></skininfo>
    <sides><side id="0" width="100" height="60"/></sides>
    <desklet><script>helpers.js</script>
      <oncreate>t = CreateObject('Vorel.Timer', 'T_'); t.Interval = 20; t.Start()</oncreate></desklet>
    </skindata>)xml");
  dir.Write("s.txt", "wait 600\nstate " + dir.File("s.json") + "\n");
  auto r = RunHost({"--headless", "--scenario", dir.File("s.txt"), dir.File("helpers/helpers.xml")}, dir);
  ASSERT_EQ(r.exitCode, 0) << r.errors;
  EXPECT_EQ(Label(dir, "s.json"), "tick 3");
}

TEST(Helpers, AnXmlFileIsWrittenAndSaved) {
  TempDir dir;
  const std::string file = dir.Write("data/list.xml", "<list><item>one</item></list>");
  dir.Write("helpers/helpers.xml", R"xml(<skindata><skininfo><name>Helpers</name></skininfo>
    <sides><side id="0" width="100" height="60"/></sides>
    <desklet><keypressanim>0</keypressanim></desklet>
    <xmls><xml src="file://)xml" + file + R"xml(" interval="0"/></xmls>
    <layers>
      <layer name="button" src="!TXT:press" x="0" y="0" width="100" height="60" fullhittest="1"
             onclick="x = XMLS(0); DeskletLabel = x.WriteTextValue('/list/added/item', 'two') + ' ' + x.SaveXML()"/>
    </layers></skindata>)xml");
  dir.Write("s.txt", "wait 100\nclick 50 30\nstate " + dir.File("s.json") + "\n");
  auto r = RunHost({"--headless", "--scenario", dir.File("s.txt"), dir.File("helpers/helpers.xml")}, dir);
  ASSERT_EQ(r.exitCode, 0) << r.errors;
  EXPECT_EQ(Label(dir, "s.json"), "true true");
  const std::string saved = ReadText(file);
  EXPECT_NE(saved.find("<item>one</item>"), std::string::npos) << saved;
  EXPECT_NE(saved.find("<added>"), std::string::npos) << saved;
  EXPECT_NE(saved.find("<item>two</item>"), std::string::npos) << saved;
}

TEST(Helpers, HeadlessProgramStartsAreOnlyTraced) {
  TempDir dir;
  const std::string marker = dir.File("ran");
  WriteHelperSkin(dir, "IO.ShellExecutes('/usr/bin/touch', '" + marker + "')");
  dir.Write("s.txt", "click 50 30\n");
  auto r = RunHost({"--headless", "--trace", dir.File("t.jsonl"), "--scenario", dir.File("s.txt"),
                    dir.File("helpers/helpers.xml")},
                   dir);
  ASSERT_EQ(r.exitCode, 0) << r.errors;
  const auto calls = CallsOf(ReadTrace(dir.File("t.jsonl")), "WinShellExecute");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0]["args"][1], "/usr/bin/touch");
  EXPECT_EQ(calls[0]["args"][2], marker);
  EXPECT_FALSE(std::filesystem::exists(marker));
}

}  // namespace
}  // namespace e2e
