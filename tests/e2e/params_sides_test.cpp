// Parameters and sides in kivhost: a click statement changes a saved and
// an unsaved parameter and widens the shown side; the saved value is back
// after kivhost restarts from its settings, the other is not.
#include <gtest/gtest.h>

#include "kivhost_run.h"
#include "platform/win/ini_file.h"

namespace e2e {
namespace {

using testing_support::TempDir;

constexpr const char* kSkin = R"xml(<skindata><skininfo><name>Kept</name></skininfo>
  <parameters><param name="City" default="Oslo" save="1" onupdate=""/><param name="Note" default="a" save="0" onupdate=""/></parameters>
  <sides><side id="0" width="100" height="60"/></sides>
  <desklet><label>Kept</label><keypressanim>0</keypressanim></desklet>
  <layers>
    <layer name="city" text="%City% %Note%" x="0" y="0" width="100" height="20" fontcolor="clWhite" fullhittest="1"
           onclick="Parameters('City').Value = 'Rome'; Parameters('Note').Value = 'b'; Layers('city').Redraw()"/>
    <layer name="grow" text="wider" x="0" y="30" width="100" height="20" fontcolor="clWhite" fullhittest="1"
           onclick="Sides(0).Width = 200"/>
  </layers></skindata>)xml";

json LayerImage(const json& desklet, const std::string& name) {
  for (const json& layer : desklet["layers"])
    if (layer["name"] == name) return layer["image"];
  return nullptr;
}

int Width(const json& desklet) { return desklet["rect"]["right"].get<int>() - desklet["rect"]["left"].get<int>(); }

TEST(ParamsAndSides, ASavedParameterComesBackAfterARestartAndTheShownSideResizes) {
  TempDir dir;
  const std::string skin = dir.Write("skin/kept.xml", kSkin);
  const std::string ini = dir.File("desklets.ini");
  dir.Write("change.txt", "state " + dir.File("before.json") + "\nclick 20 10\nclick 20 40\nstate " +
                              dir.File("changed.json") + "\nsave\nquit\n");
  auto first = RunHost({"--headless", "--settings", ini, "--section", "D1", "--scenario", dir.File("change.txt"), skin},
                       dir);
  ASSERT_EQ(first.exitCode, 0) << first.errors;
  const json before = ReadJson(dir.File("before.json"))["desklets"][0];
  const json changed = ReadJson(dir.File("changed.json"))["desklets"][0];
  EXPECT_EQ(Width(before), 100);
  EXPECT_EQ(Width(changed), 200) << "the shown side widened the desklet";
  EXPECT_NE(LayerImage(before, "city"), LayerImage(changed, "city"));
  EXPECT_TRUE(changed["errorLog"].empty()) << changed["errorLog"];

  bool city = false, note = false;
  for (const auto& [key, value] : win::ReadIniSection(ini, "D1")) {
    city |= key == "City" && value == "Rome";
    note |= key == "Note";
  }
  EXPECT_TRUE(city) << ReadText(ini);
  EXPECT_FALSE(note) << "an unsaved parameter stays out of the settings";

  auto second = RunHost({"--headless", "--settings", ini, "--section", "D1", "--state", dir.File("restored.json")}, dir);
  ASSERT_EQ(second.exitCode, 0) << second.errors;
  const json restored = ReadJson(dir.File("restored.json"))["desklets"][0];
  // "Rome a": the saved city with the skin's own note.
  EXPECT_NE(LayerImage(restored, "city"), LayerImage(before, "city"));
  EXPECT_NE(LayerImage(restored, "city"), LayerImage(changed, "city"));
}

}  // namespace
}  // namespace e2e
