// The disk cache of remote XML data: file names, the fresh window, the
// kept entity tags and the clean-up, against real files with set times.
#include "vorel/runtime/data_cache.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "support/temp_dir.h"

namespace vorel {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Writes the file and sets its last write to `age` before now.
void WriteAged(const std::string& path, TWallClock::duration age, TWallClock::time_point now) {
  std::ofstream(path) << "<a/>";
  fs::last_write_time(path, fs::file_time_type::clock::from_sys(now - age));
}

TEST(XmlCacheNames, TheHashIsTheElfHashOfTheAddress) {
  // Worked by hand: 'a' = 97; "ab" = 97 * 16 + 98.
  EXPECT_EQ(ElfHash(""), 0u);
  EXPECT_EQ(ElfHash("a"), 97u);
  EXPECT_EQ(ElfHash("ab"), 1650u);
  // Long enough for the top bits to fold back (from another implementation).
  EXPECT_EQ(ElfHash("abcdefghijklmnop"), 196715280u);
  EXPECT_EQ(ElfHash("http://127.0.0.1/data.xml"), 72206380u);
}

TEST(XmlCacheNames, NameHoldsScheduleSkinAndHash) {
  EXPECT_EQ(XmlCacheFileName("Weather", "ab", 60), "XMLCache-Weather1650.xml");
  EXPECT_EQ(XmlCacheFileName("Weather", "ab", 0), "XMLCache0-Weather1650.xml");
  EXPECT_EQ(XmlCacheFileName("Weather", "", 60), "XMLCache-Weather-1.xml");
  // A blank in the address counts as written, not as sent.
  EXPECT_NE(XmlCacheFileName("W", "http://h/a b.xml", 5), XmlCacheFileName("W", "http://h/a%20b.xml", 5));
}

TEST(XmlCacheNames, LongOrStrangeSkinNamesStayOneFileName) {
  const std::string name = XmlCacheFileName(std::string(300, 'x'), "a", 60);
  EXPECT_EQ(name, "XMLCache-" + std::string(201, 'x') + "97.xml");
  // Three bytes a character: cut before the sequence that would pass 210.
  std::string wide;
  for (int i = 0; i < 100; ++i) wide += "\xE6\x97\xA5";
  const std::string cut = XmlCacheFileName(wide, "a", 60);
  EXPECT_EQ(cut.size(), 9 + 201 + 6u);  // 67 whole characters
  EXPECT_EQ(XmlCacheFileName("a/../b", "a", 1), "XMLCache-a_.._b97.xml");
}

TEST(XmlCacheFresh, AFileIsFreshWithinIntervalLessTwoMinutesEitherSide) {
  testing_support::TempDir dir;
  const auto now = TWallClock::now();
  const std::string file = dir.File("c.xml");
  WriteAged(file, 7min, now);
  EXPECT_TRUE(IsCacheFresh(file, 10, now));   // window 8 min
  EXPECT_FALSE(IsCacheFresh(file, 9, now));   // window 7 min, strictly inside
  WriteAged(file, -7min, now);                // from a clock ahead of ours
  EXPECT_TRUE(IsCacheFresh(file, 10, now));
  EXPECT_FALSE(IsCacheFresh(file, 8, now));
  // Two minutes or less: the window is empty, every check downloads.
  WriteAged(file, 0s, now);
  EXPECT_FALSE(IsCacheFresh(file, 2, now));
  EXPECT_FALSE(IsCacheFresh(file, 1, now));
  EXPECT_FALSE(IsCacheFresh(file, 0, now));
  EXPECT_FALSE(IsCacheFresh(dir.File("missing.xml"), 60, now));
}

TEST(XmlCacheCleaning, LeftoverTemporaryOldAndUnscheduledFilesGo) {
  testing_support::TempDir dir;
  const auto now = TWallClock::now();
  const std::string folder = dir.File("cache/");
  fs::create_directories(folder);
  WriteAged(folder + "XMLCache-A1.xml.tmp", 11min, now);
  WriteAged(folder + "XMLCache-A6.xml.tmp-a1B2c3", 11min, now);
  // Temporaries younger than any write are writes under way.
  WriteAged(folder + "XMLCache-A7.xml.tmp-d4E5f6", 9min, now);
  WriteAged(folder + "XMLCache-A8.xml.tmp", 0s, now);
  WriteAged(folder + "XMLCache-A2.xml", 5 * 24h + 1min, now);
  WriteAged(folder + "XMLCache-A3.xml", 5 * 24h - 1min, now);
  WriteAged(folder + "XMLCache0-A4.xml", 3min, now);
  WriteAged(folder + "XMLCache0-A5.xml", 1min, now);
  WriteAged(folder + "notes.txt", 4 * 24h, now);
  WriteAged(folder + "a.tmpl", 0s, now);
  fs::create_directories(folder + "old.tmp");

  EXPECT_TRUE(CleanXmlCache(folder, now).empty());
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(folder)) left.push_back(entry.path().filename().string());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"XMLCache-A3.xml", "XMLCache-A7.xml.tmp-d4E5f6", "XMLCache-A8.xml.tmp",
                                            "XMLCache0-A5.xml", "a.tmpl", "notes.txt", "old.tmp"}));
  EXPECT_TRUE(CleanXmlCache(dir.File("none/"), now).empty());
}

TEST(XmlCacheTags, ATagIsKeptBesideTheFileUntilForgotten) {
  testing_support::TempDir dir;
  const std::string cache = dir.File("XMLCache-a1.xml");
  EXPECT_EQ(CachedETag(cache), "");
  KeepCachedETag(cache, "\"abc\"");
  EXPECT_EQ(CachedETag(cache), "\"abc\"");
  EXPECT_TRUE(fs::exists(cache + ".etag"));
  KeepCachedETag(cache, "");
  EXPECT_EQ(CachedETag(cache), "");
  EXPECT_FALSE(fs::exists(cache + ".etag"));
  KeepCachedETag(cache, std::string(2000, 'x'));
  EXPECT_EQ(CachedETag(cache), "") << "not a tag";
  std::ofstream(cache + ".etag") << "\"a\"\r\nX-Other: 1";
  EXPECT_EQ(CachedETag(cache), "") << "never a second header line";
  EXPECT_THROW(KeepCachedETag(dir.File("none/XMLCache-a1.xml"), "\"abc\""), std::runtime_error);
}

}  // namespace
}  // namespace vorel
