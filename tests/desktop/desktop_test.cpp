// kivhost on a real X display (an Xvfb of the test's own): desklets are
// windows of their size at their place, a click reaches the layer's
// statement, a press where no layer takes it drags the desklet, and
// SIGTERM ends kivhost with the state written. Input comes through XTEST
// (xdotool). Skipped, saying why, where Xvfb or xdotool is missing.
#include <gtest/gtest.h>

#include <cairo.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>

#include "desktop/desktop_fixture.h"
#include "platform/win/win_services.h"
#include "e2e/kivhost_run.h"

namespace desktoptest {
namespace {

using testing_support::TempDir;

// How many pixels of the screen part differ (by more than 2 in a channel)
// from the PNG drawn on black; -1 when the PNG is not of the part's size.
int DifferingPixels(const std::vector<uint32_t>& screen, const std::string& png, int width, int height) {
  cairo_surface_t* expected = cairo_image_surface_create_from_png(png.c_str());
  if (cairo_surface_status(expected) != CAIRO_STATUS_SUCCESS || cairo_image_surface_get_width(expected) != width ||
      cairo_image_surface_get_height(expected) != height || screen.size() != static_cast<size_t>(width * height)) {
    cairo_surface_destroy(expected);
    return -1;
  }
  // Without a compositing manager the window is the picture on black:
  // premultiplied pixels with their alpha dropped.
  const unsigned char* data = cairo_image_surface_get_data(expected);
  const int stride = cairo_image_surface_get_stride(expected);
  int differing = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const uint32_t want = *reinterpret_cast<const uint32_t*>(data + y * stride + 4 * x) | 0xFF000000u;
      const uint32_t got = screen[static_cast<size_t>(y * width + x)];
      for (int shift : {0, 8, 16})
        if (std::abs(static_cast<int>((want >> shift) & 0xFF) - static_cast<int>((got >> shift) & 0xFF)) > 2) {
          ++differing;
          break;
        }
    }
  }
  cairo_surface_destroy(expected);
  return differing;
}

TEST_F(DesktopTest, ADeskletIsAWindowOfItsSizeAtItsPlace) {
  auto host = Kivhost({"--state", dir_.File("state.json"), WriteSkin(dir_)});
  const std::string window = WaitForWindow(Display(), "DeskTest");
  ASSERT_FALSE(window.empty()) << e2e::ReadText(dir_.File("stderr.txt"));
  const WindowGeometry g = GeometryOf(Display(), window);
  EXPECT_EQ(g.width, 120);
  EXPECT_EQ(g.height, 80);
  EXPECT_EQ(g.x, 100);
  EXPECT_EQ(g.y, 100);
  EXPECT_EQ(host->Terminate(), 0) << e2e::ReadText(dir_.File("stderr.txt"));
  const e2e::json state = e2e::ReadJson(dir_.File("state.json"));
  ASSERT_EQ(state["desklets"].size(), 1u);
  EXPECT_EQ(state["desklets"][0]["label"], "DeskTest");
}

TEST_F(DesktopTest, TheWindowShowsWhatTheHeadlessSnapshotShows) {
  const std::string hello = std::string(KIV_BIN_DIR) + "/hello/hello.xml";
  const std::string snapshot = dir_.File("hello.png");
  ASSERT_TRUE(HeadlessSnapshot(hello, snapshot));
  auto host = Kivhost({hello});
  const std::string window = WaitForWindow(Display(), "Hello, Vorel");
  ASSERT_FALSE(window.empty()) << e2e::ReadText(dir_.File("stderr.txt"));
  usleep(300000);  // the first paint
  const std::vector<uint32_t> screen = ScreenPixels(Display(), 100, 100, 240, 160);
  ASSERT_EQ(screen.size(), 240u * 160u);

  EXPECT_EQ(DifferingPixels(screen, snapshot, 240, 160), 0);
  EXPECT_EQ(host->Terminate(), 0);
}

// At GDK scale 2 the desklet keeps its size on the screen: its window and
// place are twice as many device pixels, each pixel of the picture covers
// two by two of them, and clicks land where they did.
TEST_F(DesktopTest, OnAScaledScreenEachPixelOfTheDeskletCoversFourDevicePixels) {
  const std::string hello = std::string(KIV_BIN_DIR) + "/hello/hello.xml";
  const std::string snapshot = dir_.File("hello.png");
  ASSERT_TRUE(HeadlessSnapshot(hello, snapshot));
  setenv("GDK_SCALE", "2", 1);
  auto host = Kivhost({hello});
  auto desk = Kivhost({"--settings", dir_.File("desk.ini"), "--section", "D", "--state", dir_.File("state.json"),
                       WriteSkin(dir_)});
  unsetenv("GDK_SCALE");
  const std::string window = WaitForWindow(Display(), "Hello, Vorel");
  ASSERT_FALSE(window.empty()) << e2e::ReadText(dir_.File("stderr.txt"));
  const WindowGeometry g = GeometryOf(Display(), window);
  EXPECT_EQ(g.x, 200);
  EXPECT_EQ(g.y, 200);
  EXPECT_EQ(g.width, 480);
  EXPECT_EQ(g.height, 320);
  XDoTool(Display(), {"windowraise", window});
  usleep(300000);  // the first paint
  const std::vector<uint32_t> screen = ScreenPixels(Display(), 200, 200, 480, 320);
  ASSERT_EQ(screen.size(), 480u * 320u);
  // The snapshot's pixels, each taken from the top left of its block.
  std::vector<uint32_t> halved(240 * 160);
  for (int y = 0; y < 160; ++y)
    for (int x = 0; x < 240; ++x) halved[static_cast<size_t>(y * 240 + x)] = screen[static_cast<size_t>(2 * y * 480 + 2 * x)];
  EXPECT_EQ(DifferingPixels(halved, snapshot, 240, 160), 0);
  int unlikeInBlock = 0;
  for (int y = 0; y < 320; ++y)
    for (int x = 0; x < 480; ++x)
      if (screen[static_cast<size_t>(y * 480 + x)] != screen[static_cast<size_t>((y & ~1) * 480 + (x & ~1))]) ++unlikeInBlock;
  EXPECT_EQ(unlikeInBlock, 0);

  // The button of the other desklet spans logical x 0..60 at 100,100.
  const std::string deskWindow = WaitForWindow(Display(), "DeskTest");
  ASSERT_FALSE(deskWindow.empty());
  XDoTool(Display(), {"windowraise", deskWindow});
  usleep(200000);
  XDoTool(Display(), {"mousemove", "300", "280", "click", "1"});
  usleep(300000);
  EXPECT_EQ(desk->Terminate(), 0);
  EXPECT_EQ(e2e::ReadJson(dir_.File("state.json"))["desklets"][0]["label"], "Clicked");
  EXPECT_EQ(host->Terminate(), 0);
}

TEST_F(DesktopTest, APartialRepaintLeavesTheWindowAsTheHeadlessSnapshot) {
  // A click moves the dot across the panel: only the box around its old and
  // new places is painted again.
  dir_.Write("move/.keep", "");
  WritePng(dir_.File("move/panel.png"), 160, 80, 0.1, 0.2, 0.6);
  WritePng(dir_.File("move/dot.png"), 20, 20, 0.9, 0.1, 0.1);
  WritePng(dir_.File("move/button.png"), 40, 40, 0.1, 0.8, 0.2);
  const std::string skin = dir_.Write("move/move.xml", R"xml(<skindata><skininfo><name>Move</name></skininfo>
    <sides><side id="0" width="160" height="80"/></sides>
    <desklet><label>MoveTest</label><keypressanim>0</keypressanim></desklet>
    <layers>
      <layer name="panel" src="panel.png"/>
      <layer name="dot" src="dot.png" x="10" y="30"/>
      <layer name="button" src="button.png" x="110" y="20" onclick="kiv.Layers('dot').X = 60; kiv.DeskletLabel = 'Moved'"/>
    </layers></skindata>)xml");
  const std::string snapshot = dir_.File("move.png");
  ASSERT_TRUE(HeadlessSnapshot(skin, snapshot, dir_.Write("click.txt", "click 130 40\n")));
  auto host = Kivhost({skin});
  ASSERT_FALSE(WaitForWindow(Display(), "MoveTest").empty()) << e2e::ReadText(dir_.File("stderr.txt"));
  usleep(200000);
  XDoTool(Display(), {"mousemove", "230", "140", "click", "1"});
  ASSERT_FALSE(WaitForWindow(Display(), "Moved").empty());
  XDoTool(Display(), {"mousemove", "600", "500"});  // away, so that no hover look remains
  usleep(300000);
  EXPECT_EQ(DifferingPixels(ScreenPixels(Display(), 100, 100, 160, 80), snapshot, 160, 80), 0);
  EXPECT_EQ(host->Terminate(), 0);
}

TEST_F(DesktopTest, AClickRunsTheLayersStatement) {
  auto host = Kivhost({"--state", dir_.File("state.json"), WriteSkin(dir_)});
  const std::string window = WaitForWindow(Display(), "DeskTest");
  ASSERT_FALSE(window.empty()) << e2e::ReadText(dir_.File("stderr.txt"));
  XDoTool(Display(), {"mousemove", "130", "140", "click", "1"});
  EXPECT_FALSE(WaitForWindow(Display(), "Clicked").empty()) << "the window's title follows the label";
  EXPECT_EQ(host->Terminate(), 0);
  EXPECT_EQ(e2e::ReadJson(dir_.File("state.json"))["desklets"][0]["label"], "Clicked");
}

TEST_F(DesktopTest, AClickOnPixelsThatShowNothingReachesTheWindowBelow) {
  // Below: a desklet whose whole face is a button. Above it, at the same
  // place: one whose right half shows nothing but a click-through layer's
  // picture, whose bottom quarter shows nothing but takes clicks.
  dir_.Write("half/.keep", "");
  WritePng(dir_.File("half/left.png"), 60, 60, 0.9, 0.2, 0.2);
  WritePng(dir_.File("half/glass.png"), 60, 80, 0.6, 0.6, 0.9);
  WritePng(dir_.File("half/whole.png"), 120, 80, 0.2, 0.9, 0.2);
  const std::string below = dir_.Write("half/below.xml", R"xml(<skindata><skininfo><name>Below</name></skininfo>
    <sides><side id="0" width="120" height="80"/></sides>
    <desklet><label>BelowTest</label><keypressanim>0</keypressanim></desklet>
    <layers><layer name="all" src="whole.png" onclick="kiv.DeskletLabel = 'BelowClicked'"/></layers></skindata>)xml");
  const std::string above = dir_.Write("half/above.xml", R"xml(<skindata><skininfo><name>Above</name></skininfo>
    <sides><side id="0" width="120" height="80"/></sides>
    <desklet><label>AboveTest</label><keypressanim>0</keypressanim></desklet>
    <layers><layer name="left" src="left.png" onclick="kiv.DeskletLabel = 'AboveClicked'"/>
      <layer name="glass" src="glass.png" x="60" clickable="0"/>
      <layer name="floor" src="!BLANKSPACE" y="60" width="60" height="20" fullhittest="1"
             onclick="kiv.DeskletLabel = 'FloorClicked'"/></layers></skindata>)xml");
  auto host = Kivhost({below, above});
  ASSERT_FALSE(WaitForWindow(Display(), "AboveTest").empty()) << e2e::ReadText(dir_.File("stderr.txt"));
  ASSERT_FALSE(WaitForWindow(Display(), "BelowTest").empty());
  // A clicked desklet comes to the front of the desklets: the one above
  // is clicked first.
  XDoTool(Display(), {"mousemove", "130", "140", "click", "1"});
  EXPECT_FALSE(WaitForWindow(Display(), "AboveClicked").empty());
  XDoTool(Display(), {"mousemove", "130", "170", "click", "1"});
  EXPECT_FALSE(WaitForWindow(Display(), "FloorClicked").empty());
  XDoTool(Display(), {"mousemove", "190", "140", "click", "1"});
  EXPECT_FALSE(WaitForWindow(Display(), "BelowClicked").empty());
  EXPECT_EQ(host->Terminate(), 0);
}

TEST_F(DesktopTest, TheHostMenuOpensOnARightClickAndItsChoiceIsCarriedOut) {
  auto host = Kivhost({"--state", dir_.File("state.json"), "--trace", dir_.File("trace.jsonl"), WriteSkin(dir_)});
  const std::string window = WaitForWindow(Display(), "DeskTest");
  ASSERT_FALSE(window.empty()) << e2e::ReadText(dir_.File("stderr.txt"));
  // No layer takes the right click: the host's own menu opens. Its third
  // item closes the desklet, the last one, and so kivhost ends.
  XDoTool(Display(), {"mousemove", "190", "140", "click", "3"});
  usleep(300000);
  XDoTool(Display(), {"key", "Down", "Down", "Down", "Return"});
  EXPECT_EQ(host->Wait(std::chrono::seconds(10)), 0) << e2e::ReadText(dir_.File("stderr.txt"));
  const auto menus = e2e::CallsOf(e2e::ReadTrace(dir_.File("trace.jsonl")), "HostMenu");
  ASSERT_EQ(menus.size(), 1u);
  EXPECT_EQ(menus[0]["ret"], 3);
  EXPECT_TRUE(e2e::ReadJson(dir_.File("state.json"))["desklets"].empty());
}

TEST_F(DesktopTest, PropertiesFromTheHostMenuShowThePlugInsPageUntilClosed) {
  auto host = Kivhost({"--trace", dir_.File("trace.jsonl"), WriteSkin(dir_)});
  ASSERT_FALSE(WaitForWindow(Display(), "DeskTest").empty()) << e2e::ReadText(dir_.File("stderr.txt"));
  XDoTool(Display(), {"mousemove", "190", "140", "click", "3"});
  usleep(300000);
  XDoTool(Display(), {"key", "Down", "Return"});
  const std::string dialog = WaitForWindow(Display(), "DeskTest Properties");
  ASSERT_FALSE(dialog.empty()) << e2e::ReadText(dir_.File("stderr.txt"));
  // The desklet goes on while the dialog is open; closing it closes the page.
  XDoTool(Display(), {"windowfocus", "--sync", dialog, "key", "Escape"});
  usleep(500000);
  EXPECT_EQ(host->Terminate(), 0);
  const auto trace = e2e::ReadTrace(dir_.File("trace.jsonl"));
  std::vector<uint32_t> messages;
  for (const auto& call : e2e::CallsOf(trace, "PageProcedure")) messages.push_back(call["args"][0]);
  EXPECT_EQ(messages, (std::vector<uint32_t>{kWmInitDialog, kWmSize, kWmDestroy}));
  EXPECT_EQ(e2e::CallsOf(trace, "WinCreateDialogItem").size(), 6u);
  EXPECT_NE(e2e::ReadText(dir_.File("config/kivhost/registry.ini")).find("AutoCheckUpdate=0"), std::string::npos);
}

TEST_F(DesktopTest, AKivhostAskedToEndWithThePropertiesOpenClosesThemAndEnds) {
  auto host = Kivhost({"--trace", dir_.File("trace.jsonl"), WriteSkin(dir_)});
  ASSERT_FALSE(WaitForWindow(Display(), "DeskTest").empty()) << e2e::ReadText(dir_.File("stderr.txt"));
  XDoTool(Display(), {"mousemove", "190", "140", "click", "3"});
  usleep(300000);
  XDoTool(Display(), {"key", "Down", "Return"});
  ASSERT_FALSE(WaitForWindow(Display(), "DeskTest Properties").empty());
  EXPECT_EQ(host->Terminate(), 0);
  EXPECT_EQ(e2e::CallsOf(e2e::ReadTrace(dir_.File("trace.jsonl")), "CloseProperties").size(), 1u);
}

TEST_F(DesktopTest, AFileDroppedOnTheDeskletReachesItsDropStatement) {
  dir_.Write("drop/.keep", "");
  WritePng(dir_.File("drop/face.png"), 120, 80, 0.2, 0.9, 0.2);
  const std::string skin = dir_.Write("drop/drop.xml", R"xml(<skindata><skininfo><name>Drop</name></skininfo>
    <sides><side id="0" width="120" height="80"/></sides>
    <desklet><label>DropTest</label><ondropfile>kiv.DeskletLabel = 'Got ' + kiv.GetDroppedFileName()</ondropfile></desklet>
    <layers><layer name="face" src="face.png"/></layers></skindata>)xml");
  const std::string file = dir_.Write("dropped.txt", "hello");
  auto host = Kivhost({skin});
  ASSERT_FALSE(WaitForWindow(Display(), "DropTest").empty()) << e2e::ReadText(dir_.File("stderr.txt"));
  Program source(Display(), {std::string(KIV_BIN_DIR) + "/drag_source", file}, "");
  ASSERT_FALSE(WaitForWindow(Display(), "DragSource").empty());
  XDoTool(Display(), {"mousemove", "530", "130", "mousedown", "1"});
  for (const char* x : {"520", "480", "400", "300", "200", "160"}) {
    XDoTool(Display(), {"mousemove", x, "140"});
    usleep(50000);
  }
  XDoTool(Display(), {"mouseup", "1"});
  EXPECT_FALSE(WaitForWindow(Display(), "Got " + file).empty());
  EXPECT_EQ(host->Terminate(), 0);
}

TEST_F(DesktopTest, DeskletsComeBackAtTheNextStartUntilTheUserClosesThem) {
  const std::string hello = std::string(KIV_BIN_DIR) + "/hello/hello.xml";
  auto first = Kivhost({hello});
  ASSERT_FALSE(WaitForWindow(Display(), "Hello, Vorel").empty()) << e2e::ReadText(dir_.File("stderr.txt"));
  EXPECT_EQ(first->Terminate(), 0);
  const std::string kept = e2e::ReadText(dir_.File("config/kivhost/desklets.ini"));
  EXPECT_NE(kept.find("Desklets=Desklet1"), std::string::npos) << kept;

  // No skin file: the last session's desklets come back.
  auto second = Kivhost({});
  ASSERT_FALSE(WaitForWindow(Display(), "Hello, Vorel").empty()) << e2e::ReadText(dir_.File("stderr.txt"));
  // Closed from the host menu, it is gone for good, and kivhost ends.
  XDoTool(Display(), {"mousemove", "330", "250", "click", "3"});
  usleep(300000);
  XDoTool(Display(), {"key", "Down", "Down", "Down", "Return"});
  EXPECT_EQ(second->Wait(std::chrono::seconds(10)), 0) << e2e::ReadText(dir_.File("stderr.txt"));
  const std::string after = e2e::ReadText(dir_.File("config/kivhost/desklets.ini"));
  EXPECT_EQ(after.find("[Desklet1]"), std::string::npos) << after;

  auto third = Kivhost({});
  EXPECT_EQ(third->Wait(std::chrono::seconds(10)), 1);
  EXPECT_NE(e2e::ReadText(dir_.File("stderr.txt")).find("no desklets from the last session"), std::string::npos);
}

// The sample skin, installed beside the plug-in as saved settings expect.
TEST_F(DesktopTest, APressNoLayerTakesDragsTheDeskletAndItsPlaceIsSaved) {
  const std::string ini = dir_.File("desklets.ini");
  const std::string hello = std::string(KIV_BIN_DIR) + "/hello/hello.xml";
  auto host = Kivhost({"--state", dir_.File("state.json"), "--settings", ini, "--section", "D1", hello});
  const std::string window = WaitForWindow(Display(), "Hello, Vorel");
  ASSERT_FALSE(window.empty()) << e2e::ReadText(dir_.File("stderr.txt"));
  // The title text takes no press: the desklet moves with the pointer.
  XDoTool(Display(), {"mousemove", "300", "125", "mousedown", "1"});
  XDoTool(Display(), {"mousemove", "320", "135"});
  XDoTool(Display(), {"mousemove", "350", "155", "mouseup", "1"});
  for (int i = 0; i < 100 && GeometryOf(Display(), window).x == 100; ++i) usleep(20000);
  const WindowGeometry g = GeometryOf(Display(), window);
  EXPECT_EQ(g.x, 150);
  EXPECT_EQ(g.y, 130);
  EXPECT_EQ(host->Terminate(), 0);
  const e2e::json rect = e2e::ReadJson(dir_.File("state.json"))["desklets"][0]["rect"];
  EXPECT_EQ(rect["left"], 150);
  EXPECT_EQ(rect["top"], 130);
  EXPECT_EQ(rect["right"], 390);
  // SIGTERM saved the settings; the desklet comes back where it was left.
  const std::string saved = e2e::ReadText(ini);
  EXPECT_NE(saved.find("[D1.window]"), std::string::npos) << saved;
  auto again = Kivhost({"--settings", ini, "--section", "D1"});
  const std::string restored = WaitForWindow(Display(), "Hello, Vorel");
  ASSERT_FALSE(restored.empty()) << e2e::ReadText(dir_.File("stderr.txt"));
  const WindowGeometry back = GeometryOf(Display(), restored);
  EXPECT_EQ(back.x, 150);
  EXPECT_EQ(back.y, 130);
  EXPECT_EQ(back.width, 240);
  EXPECT_EQ(again->Terminate(), 0);
}

TEST_F(DesktopTest, AFlipTurnsOnTheScreenAndCompletesAfterTheTurn) {
  dir_.Write("flip/.keep", "");
  WritePng(dir_.File("flip/front.png"), 160, 80, 0.8, 0.2, 0.2);
  WritePng(dir_.File("flip/back.png"), 160, 80, 0.2, 0.3, 0.8);
  const std::string skin = dir_.Write("flip/flip.xml", R"xml(<skindata><skininfo><name>Flip</name></skininfo>
    <sides><side id="0" width="160" height="80"/><side id="1" width="160" height="80"/></sides>
    <desklet><label>FlipTest</label><keypressanim>0</keypressanim>
      <onafterflip>kiv.DeskletLabel = 'Flipped'</onafterflip></desklet>
    <layers side="0"><layer name="front" src="front.png" onclick="!FLIP:1"/></layers>
    <layers side="1"><layer name="back" src="back.png"/></layers></skindata>)xml");
  const std::string snapshot = dir_.File("back.png");
  ASSERT_TRUE(HeadlessSnapshot(skin, snapshot, dir_.Write("click.txt", "click 20 20\nwait 50\n")));
  auto host = Kivhost({skin});
  ASSERT_FALSE(WaitForWindow(Display(), "FlipTest").empty()) << e2e::ReadText(dir_.File("stderr.txt"));
  usleep(200000);
  const auto clicked = std::chrono::steady_clock::now();
  XDoTool(Display(), {"mousemove", "120", "120", "click", "1"});
  ASSERT_FALSE(WaitForWindow(Display(), "Flipped").empty());
  // The after-flip statement waits for the turn of about 300 ms.
  EXPECT_GE(std::chrono::steady_clock::now() - clicked, std::chrono::milliseconds(250));
  XDoTool(Display(), {"mousemove", "600", "500"});
  usleep(200000);
  EXPECT_EQ(DifferingPixels(ScreenPixels(Display(), 100, 100, 160, 80), snapshot, 160, 80), 0)
      << "the turn ends on the new side as the host composes it";
  EXPECT_EQ(host->Terminate(), 0);
}

}  // namespace
}  // namespace desktoptest
