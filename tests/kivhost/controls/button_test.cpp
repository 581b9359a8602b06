// Image buttons and labels: pictures from the resources folder by name and
// state, one 10 and one 11 for each click, and the plain look without
// pictures.
#include <cairo.h>

#include "control_fixture.h"
#include "kivhost/controls/control_geometry.h"

namespace kivhost::testing {
namespace {

constexpr uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF;

class ButtonTest : public ControlTest {
 protected:
  void WritePicture(const std::string& file, uint32_t argb) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 8, 8);
    cairo_t* cr = cairo_create(s);
    cairo_set_source_rgb(cr, ((argb >> 16) & 0xFF) / 255.0, ((argb >> 8) & 0xFF) / 255.0, (argb & 0xFF) / 255.0);
    cairo_paint(cr);
    cairo_destroy(cr);
    ASSERT_EQ(cairo_surface_write_to_png(s, (folder + "/" + file).c_str()), CAIRO_STATUS_SUCCESS);
    cairo_surface_destroy(s);
  }
};

TEST_F(ButtonTest, PicturesFollowHoverAndPressAndEachClickRunsTenThenEleven) {
  WritePicture("go.png", kRed);
  WritePicture("go_hover.png", kGreen);
  WritePicture("go_down.png", kBlue);
  KivHandle b = Make("go", "IMAGEBUTTON", {0, 0, 40, 20});
  Watch(b, "go", {10, 11});
  EXPECT_EQ(Pixel("go", 20, 10), kRed);  // scaled from 8 x 8 to the rectangle
  Move("go", 5, 5);
  EXPECT_EQ(Pixel("go", 20, 10), kGreen);
  EXPECT_EQ(State("go")["hover"], true);
  EXPECT_EQ(Down("go", 5, 5), 1);
  EXPECT_EQ(Pixel("go", 20, 10), kBlue);
  EXPECT_EQ(State("go")["pressed"], true);
  Up("go", 5, 5);
  EXPECT_EQ(Pixel("go", 20, 10), kGreen);
  Click("go", 5, 5);
  EXPECT_EQ(calls, (std::vector<Call>{{"go", 10}, {"go", 11}, {"go", 10}, {"go", 11}}));
  KivForwardMouseOut(container, LayerId("go"), "go");
  EXPECT_EQ(Pixel("go", 20, 10), kRed);
  EXPECT_EQ(State("go")["focused"], false);
}

TEST_F(ButtonTest, TextNamesThePicturesAndMissingOnesFallBack) {
  WritePicture("other.png", kRed);
  KivHandle b = Make("b", "IMAGEBUTTON", {0, 0, 40, 20});
  // No picture named after the control: a plain button face.
  EXPECT_EQ(Pixel("b", 3, 3), kivcontrols::kFaceColour);
  const std::u16string base = u"other";
  Send(b, 114, 0, reinterpret_cast<LPARAM>(base.c_str()));
  EXPECT_EQ(Pixel("b", 20, 10), kRed);
  Move("b", 1, 1);  // no hover picture: the normal one
  EXPECT_EQ(Pixel("b", 20, 10), kRed);
}

TEST_F(ButtonTest, PressingAButtonTakesTheFocusFromAField) {
  KivHandle f = Make("field", "TEXTFIELD", {0, 50, 100, 80});
  KivHandle b = Make("go", "IMAGEBUTTON", {0, 0, 40, 20});
  Watch(f, "field", {10, 11});
  Watch(b, "go", {10, 11});
  Click("field", 5, 5);
  Click("go", 5, 5);
  EXPECT_EQ(calls, (std::vector<Call>{{"field", 10}, {"field", 11}, {"go", 10}, {"go", 11}}));
}

TEST_F(ButtonTest, LabelsShowTheirBackgroundAndTakeNoFocus) {
  KivHandle l = Make("caption", "LABEL", {0, 0, 60, 20});
  Send(l, 110, 0, static_cast<LPARAM>(0xFF336699));
  Watch(l, "caption", {10, 11});
  EXPECT_EQ(Pixel("caption", 59, 19), 0xFF336699u);
  EXPECT_EQ(Click("caption", 5, 5), 0);
  EXPECT_TRUE(calls.empty());
}

}  // namespace
}  // namespace kivhost::testing
