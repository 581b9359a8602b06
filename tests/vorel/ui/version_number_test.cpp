// Version texts as the update check reads them.
#include "vorel/ui/version_number.h"

#include <gtest/gtest.h>

namespace {

using vorel::kRunningVersion;
using vorel::VersionNumber;

TEST(VersionNumber, TheRunningVersionIsNotNewerThanItself) {
  EXPECT_EQ(VersionNumber(vorel::kRunningVersionText), kRunningVersion);
  EXPECT_EQ(VersionNumber("1.0.1.0"), 1000001000u);
}

TEST(VersionNumber, EachLaterPartCountsAsNewer) {
  EXPECT_GT(*VersionNumber("1.0.1.1"), kRunningVersion);
  EXPECT_GT(*VersionNumber("1.1.0.0"), kRunningVersion);
  EXPECT_LT(*VersionNumber("1.0.0.999"), kRunningVersion);
  EXPECT_EQ(VersionNumber("999.999.999.999"), 999999999999u);
}

TEST(VersionNumber, OnlyFourPartsOfUpToThreeDigitsRead) {
  EXPECT_FALSE(VersionNumber("1.1"));
  EXPECT_FALSE(VersionNumber("1.0.1"));
  EXPECT_FALSE(VersionNumber("1.0.1.0.0"));
  EXPECT_FALSE(VersionNumber(""));
  EXPECT_FALSE(VersionNumber("1..1.0"));
  EXPECT_FALSE(VersionNumber("1.0.1."));
  EXPECT_FALSE(VersionNumber("1.0.1.x"));
  EXPECT_FALSE(VersionNumber("-1.0.1.0"));
  EXPECT_FALSE(VersionNumber(" 1.0.1.0"));
  // A part of four digits would run into the part before it: 1.0.1000.0
  // is not 1.1.0.0.
  EXPECT_FALSE(VersionNumber("1.0.1000.0"));
}

}  // namespace
