// A skin whose statement fails: the plug-in reports the error as three
// lines of the desklet's error log, which kivhost shows on standard error
// (unless --quiet), lists in the state dump and traces.
#include <gtest/gtest.h>

#include "kivhost_run.h"

namespace e2e {
namespace {

using testing_support::TempDir;

// A layer whose click runs a function that does not exist.
void WriteFailingSkin(const TempDir& dir) {
  dir.Write("failing/failing.xml", R"xml(<skindata><skininfo><name>Failing</name></skininfo>
    <sides><side id="0" width="100" height="60"/></sides>
    <desklet><keypressanim>0</keypressanim></desklet>
    <layers>
      <layer name="button" src="!TXT:press" x="0" y="0" width="100" height="60" fullhittest="1"
             onclick="undefinedFunction()"/>
    </layers></skindata>)xml");
  dir.Write("click.txt", "click 50 30\nstate " + dir.File("s.json") + "\n");
}

// The lines of `text` that start with `prefix`, without it.
std::vector<std::string> LinesAfter(const std::string& text, const std::string& prefix) {
  std::vector<std::string> out;
  for (size_t at = 0; at < text.size();) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(at, end - at);
    if (line.starts_with(prefix)) out.push_back(line.substr(prefix.size()));
    at = end + 1;
  }
  return out;
}

TEST(ErrorLog, AFailingStatementIsShownKeptAndTraced) {
  TempDir dir;
  WriteFailingSkin(dir);
  auto r = RunHost({"--headless", "--trace", dir.File("t.jsonl"), "--scenario", dir.File("click.txt"),
                    dir.File("failing/failing.xml")},
                   dir);
  ASSERT_EQ(r.exitCode, 0) << r.errors;

  const auto shown = LinesAfter(r.errors, "kivhost: failing.xml: ");
  ASSERT_EQ(shown.size(), 3u) << r.errors;
  EXPECT_NE(shown[1].find("Line:"), std::string::npos) << shown[1];
  EXPECT_NE(shown[1].find("Column:"), std::string::npos) << shown[1];
  EXPECT_NE(shown[1].find("undefinedFunction"), std::string::npos) << shown[1];
  EXPECT_NE(shown[0].find("(layer \"button\" onclick)"), std::string::npos) << shown[0];
  EXPECT_EQ(shown[2], std::string(31, '-'));

  const json log = ReadJson(dir.File("s.json"))["desklets"][0]["errorLog"];
  ASSERT_TRUE(log.is_array());
  EXPECT_EQ(log, json(shown)) << "the state lists the lines shown";

  std::vector<std::string> traced;
  for (const json& call : CallsOf(ReadTrace(dir.File("t.jsonl")), "WinErrorLogLine")) traced.push_back(call["args"][0]);
  EXPECT_EQ(traced, shown);
}

TEST(ErrorLog, QuietShowsNothingButKeepsTheLog) {
  TempDir dir;
  WriteFailingSkin(dir);
  auto r = RunHost({"--headless", "--quiet", "--scenario", dir.File("click.txt"), dir.File("failing/failing.xml")}, dir);
  ASSERT_EQ(r.exitCode, 0) << r.errors;
  EXPECT_TRUE(LinesAfter(r.errors, "kivhost: failing.xml: ").empty()) << r.errors;
  EXPECT_EQ(ReadJson(dir.File("s.json"))["desklets"][0]["errorLog"].size(), 3u);
}

// A skin without failures has an empty log and shows nothing.
TEST(ErrorLog, ASkinWithoutFailuresHasAnEmptyLog) {
  TempDir dir;
  auto r = RunHost({"--headless", "--state", dir.File("s.json"), SampleSkin("hello")}, dir);
  ASSERT_EQ(r.exitCode, 0) << r.errors;
  EXPECT_TRUE(LinesAfter(r.errors, "kivhost: hello.xml: ").empty()) << r.errors;
  EXPECT_EQ(ReadJson(dir.File("s.json"))["desklets"][0]["errorLog"], json::array());
}

}  // namespace
}  // namespace e2e
