// The skins the plug-in offers, through its enumeration exports, from a
// plug-in folder the test lays out.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/abi/plugin_api.h"
#include "platform/util/utf8.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_host.h"
#include "vorel/host/messages.h"

using testhost::TestHost;
using testing_support::TempDir;

namespace {

std::string Skin(const std::string& info) { return "<skindata><skininfo>" + info + "</skininfo></skindata>"; }

struct Offered {
  std::string key, name, author, notes;
  uint32_t version;
};

class SkinCatalogTest : public ::testing::Test {
 protected:
  void SetUp() override { TestHost::Get().Reset(); }
  void TearDown() override { TestHost::Get().Reset(); }

  std::vector<Offered> List() {
    void* enumerator = OnCreateSkinEnumeratorW(1, nullptr);
    EXPECT_NE(enumerator, nullptr);
    std::vector<Offered> out;
    for (uint32_t index = 0;; ++index) {
      std::u16string key(1024, u'\0'), name(256, u'\0'), author(256, u'\0'), notes(256, u'\0');
      SkinInfoRecord r{sizeof(SkinInfoRecord), key.data(), 1024, index, name.data(), 256, author.data(), 256,
                       notes.data(), 256, 0};
      const int32_t ret = OnGetSkinW(enumerator, &r);
      if (ret != kSkinFilled) {
        EXPECT_EQ(ret, kNoMoreSkins);
        break;
      }
      out.push_back({kiv::Utf16ToUtf8(key.c_str()), kiv::Utf16ToUtf8(name.c_str()), kiv::Utf16ToUtf8(author.c_str()),
                     kiv::Utf16ToUtf8(notes.c_str()), r.version});
    }
    OnDestroySkinEnumeratorW(enumerator);
    return out;
  }
  std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (const Offered& skin : List()) names.push_back(skin.name);
    return names;
  }

  TempDir dir_;
  testing_support::ScopedEnv folder_{"VOREL_PLUGIN_FOLDER", dir_.Path()};
};

TEST_F(SkinCatalogTest, OnlySkinsDirectlyInASubfolderAreOffered) {
  dir_.Write("top.xml", Skin("<name>Top</name><author>A</author>"));
  dir_.Write("clock/clock.xml", Skin("<name>Clock</name><author>A</author><notes>tick</notes><version>3</version>"));
  dir_.Write("clock/sub/deep.xml", Skin("<name>Deep</name><author>A</author>"));
  dir_.Write("clock/readme.txt", Skin("<name>Text</name><author>A</author>"));
  dir_.Write("news/News.XML", Skin("<name>News</name><author>B</author>"));
  std::filesystem::create_directories(dir_.File("empty"));
  dir_.Write("plain/data.xml", "<rss><channel/></rss>");
  const std::vector<Offered> skins = List();
  ASSERT_EQ(skins.size(), 2u);
  EXPECT_EQ(skins[0].key, dir_.File("clock/clock.xml"));
  EXPECT_EQ(skins[0].name, "Clock");
  EXPECT_EQ(skins[0].author, "A");
  EXPECT_EQ(skins[0].notes, "tick");
  EXPECT_EQ(skins[0].version, 3u);
  EXPECT_EQ(skins[1].name, "News");
  // A file that is no skin is passed over without a word.
  EXPECT_TRUE(TestHost::Get().CallsOf("WinErrorLogLine").empty());
}

TEST_F(SkinCatalogTest, ABrokenSkinFileIsReportedAndTheOthersStillListed) {
  dir_.Write("a/good.xml", Skin("<name>Good</name><author>A</author>"));
  dir_.Write("a/broken.xml", "<skindata><skininfo><name>Broken</name></skin");
  dir_.Write("b/later.xml", Skin("<name>Later</name><author>A</author>"));
  EXPECT_EQ(Names(), (std::vector<std::string>{"Good", "Later"}));
  std::string report;
  for (const auto& call : TestHost::Get().CallsOf("WinErrorLogLine")) report += call.args[1] + "\n";
  EXPECT_NE(report.find(dir_.File("a/broken.xml") + " is not offered"), std::string::npos) << report;
}

TEST_F(SkinCatalogTest, ASkinNeedsANameAnAuthorAndThisEngine) {
  dir_.Write("a/1.xml", Skin("<author>A</author>"));
  dir_.Write("a/2.xml", Skin("<name>No author</name>"));
  dir_.Write("a/3.xml", Skin("<name>Newer</name><author>A</author><reqversion>101</reqversion>"));
  dir_.Write("a/4.xml", Skin("<name>This</name><author>A</author><reqversion>100</reqversion>"));
  dir_.Write("a/5.xml", Skin("<name>Odd</name><author>A</author><reqversion>lots</reqversion>"));
  EXPECT_EQ(Names(), (std::vector<std::string>{"This", "Odd"}));
}

TEST_F(SkinCatalogTest, AnAbsentVersionIsNoughtAndAnUnreadableOneIsOne) {
  dir_.Write("a/1.xml", Skin("<name>None</name><author>A</author>"));
  dir_.Write("a/2.xml", Skin("<name>Word</name><author>A</author><version>beta</version>"));
  dir_.Write("a/3.xml", Skin("<name>Below</name><author>A</author><version>-4</version>"));
  const std::vector<Offered> skins = List();
  ASSERT_EQ(skins.size(), 3u);
  EXPECT_EQ(skins[0].version, 0u);
  EXPECT_EQ(skins[1].version, 1u);
  EXPECT_EQ(skins[2].version, 1u);
}

TEST_F(SkinCatalogTest, ATooSmallBufferGetsTheLengthNeededAndThenTheText) {
  dir_.Write("a/skin.xml", Skin("<name>Résumé</name><author>A</author>"));
  void* enumerator = OnCreateSkinEnumeratorW(1, nullptr);
  std::u16string key(512, u'\0'), name(1, u'\0'), author(8, u'\0'), notes(8, u'\0');
  SkinInfoRecord r{sizeof(SkinInfoRecord), key.data(), 512, 0, name.data(), 1, author.data(), 8, notes.data(), 8, 0};
  EXPECT_EQ(OnGetSkinW(enumerator, &r), kSkinBufferTooSmall);
  EXPECT_EQ(r.nameLength, 7u);
  // Larger buffers are left as they were.
  EXPECT_EQ(r.keyLength, 512u);
  EXPECT_EQ(r.authorLength, 8u);
  name.assign(r.nameLength, u'\0');
  r.name = name.data();
  EXPECT_EQ(OnGetSkinW(enumerator, &r), kSkinFilled);
  EXPECT_EQ(kiv::Utf16ToUtf8(name.c_str()), "Résumé");
  r.index = 1;
  EXPECT_EQ(OnGetSkinW(enumerator, &r), kNoMoreSkins);
  OnDestroySkinEnumeratorW(enumerator);
}

TEST_F(SkinCatalogTest, ARecordThatIsNotWholeIsNotWritten) {
  dir_.Write("a/skin.xml", Skin("<name>S</name><author>A</author>"));
  void* enumerator = OnCreateSkinEnumeratorW(1, nullptr);
  EXPECT_EQ(OnGetSkinW(enumerator, nullptr), kNoMoreSkins);
  SkinInfoRecord shorter{};
  shorter.size = sizeof(SkinInfoRecord) - 4;
  EXPECT_EQ(OnGetSkinW(enumerator, &shorter), kNoMoreSkins);
  EXPECT_EQ(shorter.version, 0u);
  EXPECT_EQ(OnGetSkinW(nullptr, &shorter), kNoMoreSkins);
  OnDestroySkinEnumeratorW(enumerator);
  OnDestroySkinEnumeratorW(nullptr);
}

TEST_F(SkinCatalogTest, AFolderWithoutSkinsOffersNothing) {
  std::filesystem::create_directories(dir_.File("empty/deeper"));
  EXPECT_TRUE(List().empty());
}

TEST_F(SkinCatalogTest, ADeskletIsMadeFromTheChosenKey) {
  const std::string path = dir_.Write("a/skin.xml", Skin("<name>S</name><author>A</author>"));
  std::u16string key = kiv::Utf8ToUtf16(path);
  SkinInfoRecord r{};
  r.size = sizeof r;
  r.key = key.data();
  r.keyLength = static_cast<uint32_t>(key.size() + 1);
  void* instance = OnCreateFromSkinW(0x5100, 1, nullptr, &r);
  ASSERT_NE(instance, nullptr);
  const auto posted = TestHost::Get().Posted();
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0].message, vorel::MSG_LOAD_SKIN);
  EXPECT_EQ(posted[0].wParam, 1u);
  // Without a key there is nothing to load, and no desklet.
  EXPECT_EQ(OnCreateFromSkinW(0x5101, 1, nullptr, nullptr), nullptr);
  std::u16string empty;
  r.key = empty.data();
  EXPECT_EQ(OnCreateFromSkinW(0x5102, 1, nullptr, &r), nullptr);
  OnDestroy(instance, 0x5100);
}

}  // namespace
