// Controls in kivhost: the reminder sample is typed into, its drop-down
// list picked from with the mouse and the keyboard, its scroll bar dragged
// and its image button pressed; each step is checked in the state dump and
// in the picture the host shows.
#include <cairo.h>
#include <gtest/gtest.h>

#include <memory>

#include "kivhost_run.h"

namespace e2e {
namespace {

using testing_support::TempDir;
using Surface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;

const json& ControlNamed(const json& desklet, const std::string& name) {
  for (const json& control : desklet["controls"])
    if (control["name"] == name) return control;
  throw std::runtime_error("no control " + name);
}

json DeskletOf(const std::string& path) { return ReadJson(path)["desklets"][0]; }

// The pixel at (x, y) of a snapshot as 0xAARRGGBB with straight colour.
uint32_t PixelAt(const std::string& png, int x, int y) {
  Surface s(cairo_image_surface_create_from_png(png.c_str()), cairo_surface_destroy);
  EXPECT_EQ(cairo_surface_status(s.get()), CAIRO_STATUS_SUCCESS) << png;
  if (x >= cairo_image_surface_get_width(s.get()) || y >= cairo_image_surface_get_height(s.get())) return 0;
  const auto* row = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(s.get()) +
                                                      y * cairo_image_surface_get_stride(s.get()));
  return row[x];
}

// Runs the reminder sample with the scenario's lines, each "%" in them
// replaced by the temporary folder.
void RunForm(TempDir& dir, const std::string& scenario) {
  std::string text = scenario;
  for (size_t at = text.find('%'); at != std::string::npos; at = text.find('%', at + 1))
    text.replace(at, 1, dir.Path());
  dir.Write("s.txt", text);
  const RunResult r = RunHost({"--headless", "--scenario", dir.File("s.txt"), SampleSkin("form")}, dir);
  ASSERT_EQ(r.exitCode, 0) << r.errors;
}

TEST(Controls, TypingIntoTheTextFieldRunsItsStatements) {
  TempDir dir;
  RunForm(dir,
          "snapshot %before.png\n"
          "click 100 42\npress End\nkey , today\nstate %typed.json\n"
          "press Backspace\npress Backspace\npress Home\npress Delete\nkey w\npress Enter\nstate %entered.json\n"
          "snapshot %after.png\n");
  const json typed = DeskletOf(dir.File("typed.json"));
  const json& title = ControlNamed(typed, "title");
  EXPECT_EQ(title["text"], "Water the plants, today");
  EXPECT_EQ(title["focused"], true);
  EXPECT_EQ(title["caret"], 23);
  EXPECT_TRUE(typed["errorLog"].empty()) << typed["errorLog"];

  const json entered = DeskletOf(dir.File("entered.json"));
  EXPECT_EQ(ControlNamed(entered, "title")["text"], "water the plants, tod");
  EXPECT_EQ(entered["sublabel"], "water the plants, tod") << "Enter ran the field's statement";

  // The field is drawn on the white background it was given; the panel
  // around it is the skin's own dark picture.
  EXPECT_EQ(PixelAt(dir.File("after.png"), 186, 48), 0xFFFFFFFFu);
  EXPECT_NE(PixelAt(dir.File("after.png"), 100, 56), 0xFFFFFFFFu);
  EXPECT_NE(PixelAt(dir.File("before.png"), 100, 26), 0u);
}

TEST(Controls, TheDropDownListIsPickedWithTheMouseAndTheKeyboard) {
  TempDir dir;
  RunForm(dir,
          "click 70 70\nstate %open.json\nsnapshot %open.png\n"
          "click 60 131\nstate %picked.json\nsnapshot %closed.png\n"
          "press Up\nstate %keyed.json\n");
  const json open = DeskletOf(dir.File("open.json"));
  EXPECT_EQ(ControlNamed(open, "when")["open"], true);
  EXPECT_EQ(ControlNamed(open, "when")["selected"], 1) << "the skin's value 1 is Tomorrow";
  // The open list covers the gap between the box and the notes below it.
  EXPECT_EQ(PixelAt(dir.File("open.png"), 100, 84), 0xFFFFFFFFu);
  EXPECT_NE(PixelAt(dir.File("closed.png"), 100, 84), 0xFFFFFFFFu);

  const json picked = DeskletOf(dir.File("picked.json"));
  const json& when = ControlNamed(picked, "when");
  EXPECT_EQ(when["open"], false);
  EXPECT_EQ(when["selected"], 2);
  EXPECT_EQ(when["items"], (json{"Today", "Tomorrow", "Next week"}));

  const json keyed = DeskletOf(dir.File("keyed.json"));
  EXPECT_EQ(ControlNamed(keyed, "when")["selected"], 1);
  EXPECT_TRUE(keyed["errorLog"].empty()) << keyed["errorLog"];
}

TEST(Controls, TheScrollBarIsDraggedAndTheImageButtonPressed) {
  TempDir dir;
  // Eleven positions on a track of 78 between two arrows of 16: the thumb of
  // position 5 lies at 51 to 59 in the bar, 83 to 91 on the desklet.
  RunForm(dir,
          "down 212 87\nmove 212 110\nmove 212 170\nup 212 170\nstate %dragged.json\nsnapshot %dragged.png\n"
          "click 212 36\nstate %arrow.json\n"
          "move 44 159\nstate %hover.json\nclick 44 159\nstate %pressed.json\n");
  const json dragged = DeskletOf(dir.File("dragged.json"));
  EXPECT_EQ(ControlNamed(dragged, "level")["scrollPos"], 10) << "dragged past the end, held by the capture";
  // Position 10 puts the thumb at the bottom of the track: 118 to 126.
  EXPECT_EQ(PixelAt(dir.File("dragged.png"), 212, 122), 0xFFB0B0B0u);
  EXPECT_NE(PixelAt(dir.File("dragged.png"), 212, 87), 0xFFB0B0B0u);

  const json arrow = DeskletOf(dir.File("arrow.json"));
  EXPECT_EQ(ControlNamed(arrow, "level")["scrollPos"], 9);

  const json hover = DeskletOf(dir.File("hover.json"));
  EXPECT_EQ(ControlNamed(hover, "save")["hover"], true);
  const json pressed = DeskletOf(dir.File("pressed.json"));
  EXPECT_EQ(pressed["sublabel"], "saved: Water the plants");
  EXPECT_EQ(ControlNamed(pressed, "save")["pressed"], false) << "released again";
  EXPECT_TRUE(pressed["errorLog"].empty()) << pressed["errorLog"];
}

}  // namespace
}  // namespace e2e
