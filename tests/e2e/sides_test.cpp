// Sides in motion in kivhost: the two-sided sample fades its city name on
// hover, flips to its back and returns, and slides its drawer open inside
// a click; the host calls the flip's completion from its loop.
#include <gtest/gtest.h>

#include "kivhost_run.h"

namespace e2e {
namespace {

using testing_support::TempDir;

const json* LayerNamed(const json& desklet, const std::string& name) {
  for (const json& layer : desklet["layers"])
    if (layer["name"] == name) return &layer;
  return nullptr;
}

TEST(Sides, TheTwoSidedSampleFadesFlipsAndSlides) {
  TempDir dir;
  dir.Write("s.txt", "move 90 25\nwait 200\nstate " + dir.File("hover.json") +
                         "\nclick 60 85\nwait 100\nstate " + dir.File("back.json") +
                         "\nclick 20 130\nstate " + dir.File("drawer.json") +
                         "\nclick 100 130\nwait 100\nstate " + dir.File("front.json") + "\n");
  const RunResult r = RunHost({"--headless", "--scenario", dir.File("s.txt"), "--trace", dir.File("trace.jsonl"),
                               SampleSkin("twosided")},
                              dir);
  ASSERT_EQ(r.exitCode, 0) << r.errors;

  const json hover = ReadJson(dir.File("hover.json"))["desklets"][0];
  ASSERT_NE(LayerNamed(hover, "city"), nullptr);
  EXPECT_EQ((*LayerNamed(hover, "city"))["alpha"], 255) << "faded in on entering";

  const json back = ReadJson(dir.File("back.json"))["desklets"][0];
  EXPECT_EQ(back["sublabel"], "side 1");
  EXPECT_EQ(back["rect"]["bottom"].get<int>() - back["rect"]["top"].get<int>(), 160);
  EXPECT_EQ((*LayerNamed(back, "back"))["visible"], true);
  EXPECT_EQ((*LayerNamed(back, "front"))["visible"], false);
  EXPECT_EQ((*LayerNamed(back, "drawer"))["visible"], false);

  // The slide ran to its end inside the click.
  const json drawer = ReadJson(dir.File("drawer.json"))["desklets"][0];
  const json& open = *LayerNamed(drawer, "drawer");
  EXPECT_EQ(open["visible"], true);
  EXPECT_EQ(open["placement"]["left"], 12);
  EXPECT_EQ(open["placement"]["right"], 168);
  EXPECT_EQ(open["clip"]["right"], 156);
  EXPECT_EQ((*LayerNamed(drawer, "drawertext"))["visible"], true);

  const json front = ReadJson(dir.File("front.json"))["desklets"][0];
  EXPECT_EQ(front["sublabel"], "side 0");
  EXPECT_EQ((*LayerNamed(front, "front"))["visible"], true);
  EXPECT_TRUE(front["errorLog"].empty()) << front["errorLog"];

  // Each completion came from the loop, after its flip had returned.
  const std::vector<json> trace = ReadTrace(dir.File("trace.jsonl"));
  size_t flips = 0, completions = 0;
  for (const json& call : trace) {
    if (call["fn"] == "DeskletFlip") ++flips;
    if (call["fn"] == "FlipCallback") {
      ++completions;
      EXPECT_EQ(completions, flips) << "no completion inside its flip";
    }
  }
  EXPECT_EQ(flips, 2u);
  EXPECT_EQ(completions, 2u);
}

}  // namespace
}  // namespace e2e
