// The host functions as the plug-in calls them: the desklet model they
// change, the flip completion, image ownership, and the headless dialogs.
#include <gtest/gtest.h>

#include "kivhost/loop/host.h"
#include "kivhost/image/host_image.h"
#include "platform/abi/controls_api.h"
#include "platform/abi/desklet_api.h"
#include "platform/gdiplus/bitmap.h"
#include "platform/win/win_services.h"

namespace kivhost {
namespace {

class HostExports : public ::testing::Test {
 protected:
  void SetUp() override {
    hwnd = Host::Get().CreateDesklet().Hwnd();
  }
  void TearDown() override {
    Host::Get().PumpPending();
    Host::Get().RemoveDesklet(hwnd);
    while (Host::Get().answers.Next()) {}
  }
  HostDesklet& D() { return *Host::Get().Find(hwnd); }
  HWND hwnd = 0;
};

struct FlipRecord {
  bool returned = false;
  int calls = 0;
  bool calledBeforeReturn = false;
};

void OnFlipDone(void* data) {
  auto* r = static_cast<FlipRecord*>(data);
  if (!r->returned) r->calledBeforeReturn = true;
  ++r->calls;
}

TEST_F(HostExports, FlipSwapsLayersAndCompletesLaterFromTheLoop) {
  const uint32_t front = DeskletLayerAdd(hwnd, "front");
  const uint32_t back = DeskletLayerAdd(hwnd, "back");
  DeskletLayerSetVisibility(hwnd, back, kFalse, kFalse);
  FlipRecord record;
  KivSize oldSize{100, 100}, newSize{150, 80};
  uint32_t oldLayers[] = {front};
  uint32_t newLayers[] = {back};
  FlipParams p{kTrue, &oldSize, oldLayers, 1, &newSize, newLayers, 1, 0, 0, 1, &OnFlipDone, &record};
  DeskletFlip(hwnd, &p);
  record.returned = true;
  EXPECT_EQ(record.calls, 0);
  EXPECT_FALSE(D().Layer(front)->visible);
  EXPECT_TRUE(D().Layer(back)->visible);
  EXPECT_EQ(D().Size().cx, 150);
  Host::Get().PumpPending();
  EXPECT_EQ(record.calls, 1);
  EXPECT_FALSE(record.calledBeforeReturn);
}

TEST_F(HostExports, FlipCompletionIsDroppedWhenTheWindowWentAway) {
  FlipRecord record;
  FlipParams p{kFalse, nullptr, nullptr, 0, nullptr, nullptr, 0, 0, 0, 0, &OnFlipDone, &record};
  DeskletFlip(hwnd, &p);
  Host::Get().RemoveDesklet(hwnd);
  Host::Get().PumpPending();
  EXPECT_EQ(record.calls, 0);
  hwnd = Host::Get().CreateDesklet().Hwnd();
}

TEST_F(HostExports, LayerFunctionsChangeTheModel) {
  const uint32_t id = DeskletLayerAdd(hwnd, "a");
  KivRect r{1, 2, 3, 4};
  DeskletLayerSetPlacement(hwnd, id, kFalse, kTrue, &r, 10, 20);
  DeskletLayerSetImageClipRect(hwnd, id, kFalse, kTrue, &r, 5, 6);
  DeskletLayerSetAlpha(hwnd, id, kFalse, 7);
  DeskletLayerSetSaturation(hwnd, id, kFalse, 150);
  DeskletLayerSetRotation(hwnd, id, kFalse, 45);
  DeskletLayerSetIsClickThrough(hwnd, id, kTrue);
  DeskletLayerSetNoAlphaBlendedHitTesting(hwnd, id, kTrue);
  const HostLayer& l = *D().Layer(id);
  ASSERT_TRUE(l.placement);
  EXPECT_EQ(l.placement->refHeight, 20);
  EXPECT_EQ(l.clip->refWidth, 5);
  EXPECT_EQ(l.alpha, 7);
  EXPECT_EQ(l.saturation, 150);
  EXPECT_EQ(l.rotation, 45);
  EXPECT_TRUE(l.clickThrough);
  EXPECT_TRUE(l.fullHitTest);
  DeskletLayerSetPlacement(hwnd, id, kFalse, kFalse, &r, 10, 20);
  EXPECT_FALSE(D().Layer(id)->placement);
  BOOL32 found = kFalse;
  EXPECT_EQ(DeskletLayerGetLayer(hwnd, "a", &found), id);
  EXPECT_EQ(found, kTrue);
  DeskletLayerGetLayer(hwnd, "nope", &found);
  EXPECT_EQ(found, kFalse);
  // Ids past the end are ignored, not a crash.
  DeskletLayerSetAlpha(hwnd, 99, kTrue, 1);
  DeskletLayerRemove(hwnd, 99, kTrue);
}

TEST_F(HostExports, AutoDeleteHandsTheImageToTheHost) {
  gdiplus::Bitmap bitmap(4, 4);
  bitmap.SetPixel(0, 0, 0xFF112233);
  const uint32_t id = DeskletLayerAdd(hwnd, "img");
  // Without auto-delete the plug-in keeps the handle; the layer shows it.
  KivHandle kept = CreateCPPImageFromGpImage(&bitmap);
  DeskletLayerSetImage(hwnd, id, kFalse, kept, kFalse);
  ASSERT_TRUE(D().Layer(id)->image);
  DeleteCPPBMP(kept, 0);  // the layer still holds the picture itself
  EXPECT_EQ(D().Layer(id)->image->Width(), 4);
  // With auto-delete the host frees the handle when the layer lets go of it
  // (leak and use-after-free checks guard this under the sanitisers).
  KivHandle owned = CreateCPPImageFromGpImage(&bitmap);
  DeskletLayerSetImage(hwnd, id, kFalse, owned, kTrue);
  DeskletLayerSetImage(hwnd, id, kFalse, 0, kFalse);
  EXPECT_FALSE(D().Layer(id)->image);
  // Handed over for a layer that does not exist: released at once.
  DeskletLayerSetImage(hwnd, 42, kFalse, CreateCPPImageFromGpImage(&bitmap), kTrue);
}

TEST_F(HostExports, ImagesShareThePixelsOfTheBitmap) {
  gdiplus::Bitmap bitmap(2, 2);
  KivHandle h = CreateCPPImageFromGpImage(&bitmap);
  const auto* image = kivimg::ImageFromHandle(h);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->surface, bitmap.Surface());
  DeleteCPPBMP(h, 0);
  EXPECT_EQ(kivimg::ImageFromHandle(0), nullptr);
  EXPECT_GE(GetDllVersion(), 100);
}

TEST_F(HostExports, LabelCopiesAreCutAtWholeCharacters) {
  DeskletSetLabel(hwnd, "h\xC3\xA9llo");  // "héllo"
  char buffer[3];
  DeskletGetLabel(hwnd, buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "h");  // the two bytes of "é" do not fit
  DeskletSetLabelW(hwnd, u"wide");
  char big[16];
  DeskletGetLabel(hwnd, big, sizeof big);
  EXPECT_STREQ(big, "wide");
}

TEST_F(HostExports, InvalidationLocksNestAcrossTheExports) {
  DeskletLockInvalidating(hwnd);
  DeskletLockInvalidating(hwnd);
  DeskletRedraw(hwnd);
  DeskletUnlockInvalidating(hwnd, kFalse);
  EXPECT_EQ(D().RedrawCount(), 0);
  DeskletUnlockInvalidating(hwnd, kFalse);  // the deferred redraw happens
  EXPECT_EQ(D().RedrawCount(), 1);
}

TEST_F(HostExports, HeadlessDialogsTakeQueuedAnswersElseCancel) {
  char out[64] = "unchanged";
  EXPECT_EQ(WinInputBox(hwnd, "c", "p", "t", out, sizeof out), kFalse);
  Host::Get().answers.Push({Answer::Kind::Input, "typed", 0});
  EXPECT_EQ(WinInputBox(hwnd, "c", "p", "t", out, sizeof out), kTrue);
  EXPECT_STREQ(out, "typed");
  EXPECT_EQ(WinMessageBox(hwnd, "t", "c", kMbOk), kIdOk);
  Host::Get().answers.Push({Answer::Kind::No, {}, 0});
  EXPECT_EQ(WinMessageBox(hwnd, "t", "c", kMbYesNo), kIdNo);
  // An answer of the wrong kind is used up as a cancel.
  Host::Get().answers.Push({Answer::Kind::Yes, {}, 0});
  EXPECT_EQ(WinGetOpenFileName(hwnd, "", "", "", "", out, sizeof out), kFalse);
  EXPECT_EQ(Host::Get().answers.Pending(), 0u);
  HMENU menu = WinCreatePopupMenu();
  WinAppendMenu(menu, 0, 5, "Five");
  Host::Get().answers.Push({Answer::Kind::Menu, {}, 5});
  EXPECT_EQ(WinTrackPopupMenu(menu, kTpmReturnCmd, 0, 0, hwnd), 5);
  EXPECT_EQ(WinTrackPopupMenu(menu, kTpmReturnCmd, 0, 0, hwnd), 0);
  EXPECT_EQ(WinDestroyMenu(menu), kTrue);
  uint32_t colour = 0;
  Host::Get().answers.Push({Answer::Kind::Color, {}, 0x302010});
  EXPECT_EQ(WinChooseColor(hwnd, &colour), kTrue);
  EXPECT_EQ(colour, 0x302010u);
}

TEST_F(HostExports, PostingToAGoneWindowFails) {
  EXPECT_EQ(WinPostMessage(hwnd, 3029, 0, 0), kTrue);
  EXPECT_EQ(WinPostMessage(0xDEAD, 3029, 0, 0), kFalse);
  WinMsg msg{};
  EXPECT_EQ(WinPeekMessage(&msg, hwnd, kTrue), kTrue);
  EXPECT_EQ(msg.message, 3029u);
  EXPECT_EQ(WinPeekMessage(&msg, hwnd, kTrue), kFalse);
}

TEST_F(HostExports, SystemCursorsAreKnownByNumber) {
  const HCURSOR arrow = WinLoadCursor(32512);
  EXPECT_NE(arrow, 0u);
  EXPECT_EQ(WinLoadCursor(32512), arrow);
  EXPECT_EQ(WinLoadCursor(12345), 0u);
  uint32_t px[4] = {0xFF000000, 0, 0, 0xFFFFFFFF};
  const HCURSOR own = WinCreateCursor(px, 2, 2, 0, 0);
  ASSERT_NE(own, 0u);
  EXPECT_EQ(Host::Get().objects.Cursor(own)->width, 2);
  EXPECT_EQ(WinCreateCursor(nullptr, 2, 2, 0, 0), 0u);
}

}  // namespace
}  // namespace kivhost
