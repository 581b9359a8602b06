#include "kivhost/trace/trace.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/temp_dir.h"

namespace kivhost {
namespace {

std::vector<json> ReadLines(const std::string& path) {
  std::ifstream in(path);
  std::vector<json> out;
  for (std::string line; std::getline(in, line);) out.push_back(json::parse(line));
  return out;
}

TEST(Trace, NestedCallsAreWrittenInTheOrderTheyBegan) {
  testing_support::TempDir dir;
  {
    Trace t;
    t.Open(dir.File("t.jsonl"));
    const uint64_t outer = t.Begin("host>plugin", "OnCreate", 5, json::array({"a.ini"}));
    t.Record("plugin>host", "DeskletLayerAdd", 5, json::array({"BG"}), 0);
    t.Record("plugin>host", "DeskletRedraw", 5, json::array(), nullptr);
    t.End(outer, true);
  }
  auto lines = ReadLines(dir.File("t.jsonl"));
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0]["fn"], "OnCreate");
  EXPECT_EQ(lines[0]["ret"], true);
  EXPECT_EQ(lines[0]["seq"], 1);
  EXPECT_EQ(lines[1]["fn"], "DeskletLayerAdd");
  EXPECT_EQ(lines[1]["args"][0], "BG");
  EXPECT_EQ(lines[2]["seq"], 3);
}

TEST(Trace, FieldsKeepTheirDocumentedOrder) {
  testing_support::TempDir dir;
  {
    Trace t;
    t.Open(dir.File("t.jsonl"));
    t.Record("plugin>host", "DeskletSetLabel", 7, json::array({"x"}), nullptr);
  }
  std::ifstream in(dir.File("t.jsonl"));
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line, R"({"seq":1,"dir":"plugin>host","fn":"DeskletSetLabel","hwnd":7,"args":["x"],"ret":null})");
}

TEST(Trace, ACallLeftOpenIsWrittenAtFlush) {
  testing_support::TempDir dir;
  {
    Trace t;
    t.Open(dir.File("t.jsonl"));
    t.Begin("host>plugin", "OnDestroy", 1, json::array());
    t.Record("plugin>host", "DeskletRedraw", 1, json::array(), nullptr);
  }
  auto lines = ReadLines(dir.File("t.jsonl"));
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_TRUE(lines[0]["ret"].is_null());
}

TEST(Trace, OpeningAgainStartsANewFileFromOne) {
  testing_support::TempDir dir;
  {
    Trace t;
    t.Open(dir.File("a.jsonl"));
    t.Begin("host>plugin", "OnDestroy", 1, json::array());
    t.Open(dir.File("b.jsonl"));
    t.Record("plugin>host", "DeskletRedraw", 1, json::array(), nullptr);
  }
  auto a = ReadLines(dir.File("a.jsonl"));
  ASSERT_EQ(a.size(), 1u);
  EXPECT_EQ(a[0]["fn"], "OnDestroy");
  auto b = ReadLines(dir.File("b.jsonl"));
  ASSERT_EQ(b.size(), 1u);
  EXPECT_EQ(b[0]["fn"], "DeskletRedraw");
  EXPECT_EQ(b[0]["seq"], 1);
}

TEST(Trace, OffUntilOpened) {
  Trace t;
  EXPECT_EQ(t.Begin("a", "b", 0, json::array()), 0u);
  t.End(0, 1);  // harmless
}

}  // namespace
}  // namespace kivhost
