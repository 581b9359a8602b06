// Skins whose statements run JScript: the sample's button, key binding and
// pointer tracking change its text and label; statements that fail, reach
// for objects that do not exist or delete the layer they run for leave the
// host running.
#include <gtest/gtest.h>

#include "kivhost_run.h"

namespace e2e {
namespace {

using testing_support::TempDir;

json LayerNamed(const json& state, const std::string& name) {
  for (const auto& l : state["desklets"][0]["layers"])
    if (l["name"] == name) return l;
  return nullptr;
}

TEST(Scripting, TheSampleButtonKeyAndPointerRunItsFunctions) {
  TempDir dir;
  // The sun spans 12..52 by 72..112, the photo 64..112 by 68..116.
  dir.Write("s.txt",
            "state " + dir.File("before.json") + "\n"
            "move 32 92\n"
            "state " + dir.File("hover.json") + "\n"
            "click 32 92\n"
            "state " + dir.File("clicked.json") + "\n"
            "key n\n"
            "state " + dir.File("keyed.json") + "\n"
            "move 80 90\n"
            "move 82 92\n"
            "state " + dir.File("tracked.json") + "\n"
            "leave\n"
            "state " + dir.File("left.json") + "\n");
  auto r = RunHost({"--headless", "--trace", dir.File("t.jsonl"), "--scenario", dir.File("s.txt"), SampleSkin("hello")},
                   dir);
  ASSERT_EQ(r.exitCode, 0) << r.errors;
  const json before = ReadJson(dir.File("before.json")), hover = ReadJson(dir.File("hover.json")),
             clicked = ReadJson(dir.File("clicked.json")), keyed = ReadJson(dir.File("keyed.json")),
             tracked = ReadJson(dir.File("tracked.json")), left = ReadJson(dir.File("left.json"));

  EXPECT_EQ(LayerNamed(hover, "sun")["saturation"], 300) << "the hover highlight";
  EXPECT_FALSE(hover["desklets"][0]["cursor"].is_null()) << "the hand cursor";

  EXPECT_EQ(clicked["desklets"][0]["label"], "Hello, Vorel (1)");
  EXPECT_NE(LayerNamed(clicked, "mono")["image"]["sha256"], LayerNamed(before, "mono")["image"]["sha256"]);
  EXPECT_EQ(keyed["desklets"][0]["label"], "Hello, Vorel (2)") << "the key N clicks the sun";
  EXPECT_NE(LayerNamed(keyed, "mono")["image"]["sha256"], LayerNamed(clicked, "mono")["image"]["sha256"]);
  EXPECT_NE(LayerNamed(tracked, "mono")["image"]["sha256"], LayerNamed(keyed, "mono")["image"]["sha256"]);
  EXPECT_EQ(LayerNamed(left, "mono")["image"]["sha256"], LayerNamed(keyed, "mono")["image"]["sha256"])
      << "leaving the photo shows the count again";
  EXPECT_EQ(LayerNamed(left, "sun")["saturation"], 100) << "the highlight ended";

  auto trace = ReadTrace(dir.File("t.jsonl"));
  EXPECT_FALSE(CallsOf(trace, "DeskletSetLabelW").empty());
}

TEST(Scripting, FailingStatementsKeepTheHostRunning) {
  TempDir dir;
  dir.Write("skin/bad.js", "function Gone() { Layers.Delete('victim'); }\nfunction Boom() { throw new Error('boom'); }\n");
  dir.Write("skin/bad.xml", R"xml(<skindata><skininfo><name>Bad</name></skininfo>
    <sides><side id="0" width="100" height="60"/></sides>
    <desklet><script>bad.js</script><keypressanim>0</keypressanim>
      <oncreate>nosuch.object.here = 1</oncreate><onkeypress>Boom()</onkeypress></desklet>
    <layers>
      <layer name="victim" src="!TXT:x" x="0" y="0" width="50" height="30" fullhittest="1" onmousedown="Gone()" onmouseup="Gone()"
             onclick="Gone(); Layers('victim').Text = 'again'"/>
      <layer name="loop" src="!TXT:y" x="50" y="0" width="50" height="30" fullhittest="1"
             onmouseenter="for (var i = 0; i &lt; 3; i++) undefinedThing[i].go()" onclick="kiv.Layers(99).Text = 1"/>
    </layers></skindata>)xml");
  dir.Write("s.txt",
            "click 10 10\n"
            "click 10 10\n"
            "move 70 10\n"
            "click 70 10\n"
            "key x\n"
            "state " + dir.File("s.json") + "\n");
  auto r = RunHost({"--headless", "--scenario", dir.File("s.txt"), dir.File("skin/bad.xml")}, dir);
  ASSERT_EQ(r.exitCode, 0) << r.errors;
  const json state = ReadJson(dir.File("s.json"));
  ASSERT_EQ(state["desklets"].size(), 1u);
  EXPECT_TRUE(LayerNamed(state, "victim").is_null()) << "the layer deleted itself";
  EXPECT_FALSE(LayerNamed(state, "loop").is_null());
}

}  // namespace
}  // namespace e2e
