#include "platform/win/data_object.h"

#include <gtest/gtest.h>

namespace {

TEST(DataObject, FileListOffersTheDropFormatOnly) {
  auto* d = win::DataObject::WithFiles({"/a", "/b/é.txt"});
  win::FormatEtc drop{win::kCfHdrop, win::kDvAspectContent, -1, win::kTymedHGlobal};
  win::FormatEtc text{win::kCfText, win::kDvAspectContent, -1, win::kTymedHGlobal};
  EXPECT_EQ(d->QueryGetData(drop), win::kSOk);
  EXPECT_NE(d->QueryGetData(text), win::kSOk);
  win::StgMedium m;
  ASSERT_EQ(d->GetData(drop, m), win::kSOk);
  EXPECT_EQ(win::DragQueryFile(m.hGlobal, 0xFFFFFFFFu, nullptr, 0), 2u);
  char buf[16];
  EXPECT_EQ(win::DragQueryFile(m.hGlobal, 1, buf, sizeof buf), 9u);
  EXPECT_STREQ(buf, "/b/é.txt");
  // A buffer too small never splits the two-byte character.
  char small[5];
  win::DragQueryFile(m.hGlobal, 1, small, sizeof small);
  EXPECT_STREQ(small, "/b/");
  EXPECT_EQ(win::DragQueryFile(m.hGlobal, 2, buf, sizeof buf), 0u);
  win::ReleaseStgMedium(m);
  d->Release();
}

TEST(DataObject, TextOffersNoDropFormat) {
  auto* d = win::DataObject::WithText("hi");
  win::FormatEtc drop{win::kCfHdrop, win::kDvAspectContent, -1, win::kTymedHGlobal};
  win::StgMedium m;
  EXPECT_NE(d->GetData(drop, m), win::kSOk);
  EXPECT_EQ(m.hGlobal, nullptr);
  d->Release();
}

}  // namespace
