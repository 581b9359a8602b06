// Loading skins into a desklet against the recording test host.
#include "vorel/load/skin_loader.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/abi/plugin_api.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_host.h"
#include "vorel/model/desklet.h"
#include "vorel/runtime/variable_expansion.h"

using testhost::TestHost;
using testing_support::TempDir;
using vorel::TDeskletObject;

namespace {

constexpr HWND kWindow = 0x2100;

class SkinLoaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TestHost::Get().Reset();
    instance_ = OnCreate(kWindow, 1, nullptr, nullptr);
    ASSERT_NE(instance_, nullptr);
    TestHost::Get().Reset();
    TestHost::Get().DeskletOf(kWindow).instance = instance_;
  }
  void TearDown() override { OnDestroy(instance_, kWindow); }
  TDeskletObject& D() { return *vorel::AsDesklet(instance_); }
  std::unique_ptr<vorel::TSkinInfo> Load(const std::string& xml, bool fresh = true) {
    std::string path = dir_.Write("skin/skin.xml", xml);
    return vorel::LoadSkin(D(), path, fresh, true);
  }
  void AddParameter(std::string name, std::string value) {
    auto p = std::make_unique<vorel::TParameter>();
    p->Name = std::move(name);
    p->Value = std::move(value);
    D().parameters.push_back(std::move(p));
  }
  bool FellBack() {
    auto calls = TestHost::Get().CallsOf("DeskletSetImageFile");
    return calls.size() == 2 && calls[0].args[1].empty() && calls[1].args[1] == "Default.png";
  }

  TempDir dir_;
  // Skins with data sources start fetching: their caches stay in here.
  testing_support::ScopedEnv cacheHome_{"XDG_CACHE_HOME", dir_.File("cache")};
  void* instance_ = nullptr;
};

const char* kTwoSides = R"xml(<skindata>
  <skininfo><name>Two</name><author>Us</author><version>3</version></skininfo>
  <parameters><param name="City" default="Oslo"/><param name="Unit" default="C" save="0" onupdate="u()"/></parameters>
  <sides><side id="0" width="200" height="100" closex="5" closey="6"/><side id="1" width="0" height="50"/></sides>
  <desklet><alpha>200</alpha><label>Hi %City%</label><initialside>1</initialside><oncreate>go()</oncreate></desklet>
</skindata>)xml";

TEST_F(SkinLoaderTest, LoadsSidesParametersAndSettings) {
  auto info = Load(kTwoSides);
  ASSERT_TRUE(info);
  EXPECT_EQ(info->Record()->version, 3u);
  EXPECT_EQ(info->Record()->nameLength, 5u);
  EXPECT_FALSE(FellBack());
  TDeskletObject& d = D();
  ASSERT_EQ(d.sideState.sides.size(), 2u);
  EXPECT_EQ(d.sideState.sides[1].Width, 200u) << "width 0 inherits side 0's";
  EXPECT_EQ(d.sideState.sides[1].Height, 50u);
  EXPECT_EQ(d.sideState.sides[1].CloseX, 0u) << "close points are not inherited";
  EXPECT_EQ(d.sideState.activeSide, 1) << "fresh: the initial side";
  EXPECT_EQ(d.sideState.currentSide.Height, 50u);
  ASSERT_EQ(d.parameters.size(), 2u);
  // Attributes pair by position: City, which has no save or onupdate, takes
  // Unit's, and Unit gets the defaults.
  EXPECT_FALSE(d.parameters[0]->Persist);
  EXPECT_EQ(d.parameters[0]->OnUpdate, "u()");
  EXPECT_TRUE(d.parameters[1]->Persist);
  EXPECT_EQ(d.parameters[1]->OnUpdate, "");
  EXPECT_EQ(d.settings.onCreate, "go()");
  EXPECT_EQ(d.settings.skinName, "Two");
  EXPECT_EQ(TestHost::Get().CallsOf("DeskletSetSize")[0].args[1], "200x100");
  EXPECT_EQ(TestHost::Get().CallsOf("DeskletSetAlpha")[0].args[1], "200");
  EXPECT_EQ(TestHost::Get().CallsOf("DeskletSetLabel")[0].args[1], "Hi %City%") << "labels are not expanded";
  EXPECT_EQ(TestHost::Get().CallsOf("DeskletSetClosePoint")[0].args[1], "5,6");
  EXPECT_EQ(TestHost::Get().CallsOf("DeskletRedraw").size(), 1u);
  EXPECT_FALSE(d.loading);
}

TEST_F(SkinLoaderTest, AParamAndALaterParameterOfTheSameNameAreOneRecord) {
  Load(R"xml(<skindata><parameters>
      <param name="Town" default="Oslo" save="0" onupdate="first()"/>
      <parameter name="Town" default="Rome" save="1" onupdate="second()"/>
    </parameters><sides><side id="0" width="10" height="10"/></sides></skindata>)xml");
  TDeskletObject& d = D();
  ASSERT_EQ(d.parameters.size(), 1u);
  EXPECT_EQ(d.parameters[0]->Name, "Town");
  EXPECT_EQ(d.parameters[0]->Value, "Oslo") << "the param's value";
  EXPECT_FALSE(d.parameters[0]->Persist) << "the param's save";
  EXPECT_EQ(d.parameters[0]->OnUpdate, "second()") << "the parameter's onupdate";
}

TEST_F(SkinLoaderTest, AParamWithoutDefaultStartsEmptyAndPersistent) {
  Load(R"xml(<skindata><parameters><param name="Bare"/></parameters>
    <sides><side id="0" width="10" height="10"/></sides></skindata>)xml");
  TDeskletObject& d = D();
  ASSERT_EQ(d.parameters.size(), 1u);
  EXPECT_EQ(d.parameters[0]->Name, "Bare");
  EXPECT_EQ(d.parameters[0]->Value, "");
  EXPECT_TRUE(d.parameters[0]->Persist);
  EXPECT_EQ(vorel::ExpandVariables(d, "[%Bare%]"), "[]");
}

TEST_F(SkinLoaderTest, LowerCaseVbscriptStaysJScript) {
  Load(R"xml(<skindata><sides><side id="0" width="10" height="10"/></sides>
    <desklet><language>vbscript</language></desklet></skindata>)xml");
  TDeskletObject& d = D();
  EXPECT_TRUE(d.errorLog.Lines().empty()) << d.errorLog.Lines().front();
  ASSERT_TRUE(d.scripting.scriptEngine);
  d.scripting.scriptEngine->ExecuteStatement("var jsOnly = [1, 2, 3].length === 3 ? 'jscript' : 'other';");
  EXPECT_EQ(d.scripting.scriptEngine->EvaluateToText("jsOnly"), "jscript");
}

TEST_F(SkinLoaderTest, RestoredDeskletKeepsItsSideAndSizeAndValues) {
  D().sideState.activeSide = 1;
  auto saved = std::make_unique<vorel::TParameter>();
  saved->Name = "City";
  saved->Value = "Bergen";
  saved->Persist = true;
  D().parameters.push_back(std::move(saved));
  Load(kTwoSides, false);
  EXPECT_EQ(D().sideState.activeSide, 1);
  EXPECT_TRUE(TestHost::Get().CallsOf("DeskletSetSize").empty());
  EXPECT_EQ(D().parameters[0]->Value, "Bergen");
  // Loading again adds nothing that exists.
  Load(kTwoSides, false);
  EXPECT_EQ(D().parameters.size(), 2u);
}

TEST_F(SkinLoaderTest, InitialSideBeyondTheSidesShowsSideZero) {
  std::string skin = kTwoSides;
  skin.replace(skin.find("<initialside>1"), 14, "<initialside>3");
  Load(skin);
  EXPECT_EQ(D().sideState.activeSide, 0);
}

TEST_F(SkinLoaderTest, BrokenSkinsFallBackToTheDefaultPicture) {
  const char* broken[] = {
      "<skindata><desklet><label>x</label></desklet></skindata>",  // no side
      "<skindata><sides><side/></sides><desklet><alpha>300</alpha></desklet></skindata>",
      "<skindata><sides><side width='-1'/></sides></skindata>",
      "<skindata><sides><side/></sides><parameters><param name='a' save='maybe'/></parameters></skindata>",
      "<skindata><sides><side/>",  // does not parse
  };
  for (const char* skin : broken) {
    TestHost::Get().Reset();
    Load(skin);
    EXPECT_TRUE(FellBack()) << skin;
    EXPECT_FALSE(D().loading) << skin;
  }
}

TEST_F(SkinLoaderTest, MissingSkinFileFallsBack) {
  vorel::LoadSkin(D(), dir_.File("nothing.xml"), true, true);
  EXPECT_TRUE(FellBack());
}

TEST_F(SkinLoaderTest, SkinInfoJoinsTwoNamesAndDefaultsTheVersion) {
  auto info = Load("<skindata><skininfo><name>A</name><name>B</name><version>x</version></skininfo>"
                   "<sides><side/></sides></skindata>");
  EXPECT_EQ(D().settings.skinName, "A\r\nB");
  EXPECT_EQ(info->Record()->version, 1u);
}

TEST_F(SkinLoaderTest, SidePairingShiftsValuesOfLaterSides) {
  Load("<skindata><sides><side id='0' width='10'/><side id='1'/><side id='2' width='30'/></sides></skindata>");
  ASSERT_EQ(D().sideState.sides.size(), 3u);
  EXPECT_EQ(D().sideState.sides[1].Width, 30u);
  EXPECT_EQ(D().sideState.sides[2].Width, 128u);
}

TEST_F(SkinLoaderTest, SidesWithGapsAreFilledFromSideZero) {
  Load("<skindata><sides><side id='0' width='10' height='20' closex='1'/><side id='2' width='5' height='6' closex='1'/></sides></skindata>");
  ASSERT_EQ(D().sideState.sides.size(), 3u);
  EXPECT_EQ(D().sideState.sides[1].Width, 10u);
  EXPECT_EQ(D().sideState.sides[1].Height, 20u);
  EXPECT_EQ(D().sideState.sides[1].CloseX, 0u);
}

TEST_F(SkinLoaderTest, ExternalEntitiesAreNotRead) {
  std::string secret = dir_.Write("secret.txt", "TOPSECRET");
  Load("<?xml version='1.0'?><!DOCTYPE skindata [<!ENTITY s SYSTEM 'file://" + secret +
       "'>]><skindata><skininfo><name>&s;</name></skininfo><sides><side/></sides></skindata>");
  EXPECT_EQ(D().settings.skinName.find("TOPSECRET"), std::string::npos);
}

TEST_F(SkinLoaderTest, EmptyDeskletElementSetsNothing) {
  Load("<skindata><sides><side/></sides><desklet>  </desklet></skindata>");
  EXPECT_FALSE(FellBack());
  EXPECT_TRUE(TestHost::Get().CallsOf("DeskletSetAlpha").empty());
}

// --- variable expansion -------------------------------------------------

TEST_F(SkinLoaderTest, ExpansionReplacesParametersBeforeFixedTokens) {
  Load(kTwoSides);
  TDeskletObject& d = D();
  AddParameter("Pics", "%SKINPATH%pics");
  AddParameter("First", "%Second%");
  AddParameter("Second", "2");
  AddParameter("Third", "%First%");
  d.input.layerMouseX = -4;
  d.input.mouseX = 7;
  const std::string skinFolder = dir_.Path() + "skin/";
  EXPECT_EQ(vorel::ExpandVariables(d, "%Pics%/a.png"), skinFolder + "pics/a.png");
  EXPECT_EQ(vorel::ExpandVariables(d, "%First%"), "2") << "a later parameter expands an earlier one's value";
  EXPECT_EQ(vorel::ExpandVariables(d, "%Third%"), "%First%") << "an earlier parameter does not expand a later value";
  EXPECT_EQ(vorel::ExpandVariables(d, "%THISMOUSEX%,%MOUSEX%,%mousex%"), "-4,7,%mousex%");
  EXPECT_EQ(vorel::ExpandVariables(d, "no tokens"), "no tokens");
  EXPECT_EQ(vorel::ExpandVariables(d, "%City% %unknown%"), "Oslo %unknown%");
  EXPECT_EQ(vorel::ExpandVariables(d, "%SKINRESPATH%"), skinFolder);
  EXPECT_EQ(vorel::ExpandVariables(d, "%SKINCTRLPATH%"), skinFolder + "controls/");
}

TEST_F(SkinLoaderTest, ExpansionFindsTokensThatReplacementsForm) {
  Load(kTwoSides);
  TDeskletObject& d = D();
  AddParameter("a", "b");
  AddParameter("b", "ok");
  AddParameter("x%y", "Z");
  AddParameter("Long", "L");
  AddParameter("LongbName", "M");
  // "%%a%%" becomes "%b%" once a is replaced; b then finds its token.
  EXPECT_EQ(vorel::ExpandVariables(d, "%%a%%"), "ok");
  EXPECT_EQ(vorel::ExpandVariables(d, "[%x%y%]"), "[Z]") << "a name holding %";
  // Pieces that merge around a replaced token form new names.
  EXPECT_EQ(vorel::ExpandVariables(d, "%Long%a%Name%"), "M");
  EXPECT_EQ(vorel::ExpandVariables(d, "%Lo%a%%Name%"), "%Lob%Name%");
  EXPECT_EQ(vorel::ExpandVariables(d, "%MOUSE%a%X%"), "%MOUSEbX%");
}

TEST_F(SkinLoaderTest, FolderTokensGiveXdgFoldersAndCreateThem) {
  TempDir home;
  setenv("XDG_CONFIG_HOME", home.File("config").c_str(), 1);
  std::string homeFolder = home.Path().substr(0, home.Path().size() - 1);
  setenv("HOME", homeFolder.c_str(), 1);
  Load(kTwoSides);
  std::string doc = vorel::ExpandVariables(D(), "%MYDOC%");
  EXPECT_EQ(doc, home.Path() + "Documents/");
  EXPECT_EQ(vorel::ExpandVariables(D(), "%MYDOCUMENTS%"), doc);
  std::filesystem::remove_all(doc);
  EXPECT_EQ(vorel::ExpandVariables(D(), "%MYDOC%x"), doc + "x");
  EXPECT_TRUE(std::filesystem::is_directory(doc)) << "a folder gone meanwhile is made again";
}

TEST_F(SkinLoaderTest, EveryFixedTokenGivesItsOwnValue) {
  TempDir home;
  const std::string homeFolder = home.Path().substr(0, home.Path().size() - 1);
  home.Write("config/user-dirs.dirs",
             "XDG_DOCUMENTS_DIR=\"$HOME/docs\"\nXDG_PICTURES_DIR=\"$HOME/pics\"\n"
             "XDG_VIDEOS_DIR=\"$HOME/vids\"\nXDG_MUSIC_DIR=\"" + homeFolder + "/tunes\"\n"
             "  XDG_DESKTOP_DIR=\"$HOME/desk\"\n");
  testing_support::ScopedEnv config("XDG_CONFIG_HOME", home.File("config"));
  testing_support::ScopedEnv homeEnv("HOME", homeFolder);
  testing_support::ScopedEnv tmp("TMPDIR", homeFolder + "/scratch");
  Load(kTwoSides);
  TDeskletObject& d = D();
  d.input.mouseX = 3;
  d.input.mouseY = -9;
  EXPECT_EQ(vorel::ExpandVariables(d, "%MOUSEX%,%MOUSEY%"), "3,-9");
  const std::pair<const char*, std::string> folders[] = {
      {"%MYDOC%", home.Path() + "docs/"},     {"%MYPICTURES%", home.Path() + "pics/"},
      {"%MYVIDEOS%", home.Path() + "vids/"},  {"%MYMUSIC%", home.Path() + "tunes/"},
      {"%DESKTOP%", home.Path() + "desk/"},   {"%TMPPATH%", home.Path() + "scratch/"},
  };
  for (const auto& [token, folder] : folders) {
    EXPECT_EQ(vorel::ExpandVariables(d, token), folder) << token;
    if (std::string(token) != "%TMPPATH%") {
      EXPECT_TRUE(std::filesystem::is_directory(folder)) << token << " is made";
    }
  }
  const std::string skinFolder = std::filesystem::path(d.settings.skinPath).parent_path().string() + "/";
  EXPECT_EQ(vorel::ExpandVariables(d, "%SKINPATH%a.png"), skinFolder + "a.png");
  EXPECT_EQ(vorel::ExpandVariables(d, "%MYPICTURES%%MYMUSIC%"), home.Path() + "pics/" + home.Path() + "tunes/");
}

}  // namespace

namespace {

// Attributes pair by position, so each source writes every one (empty for
// the default).
TEST_F(SkinLoaderTest, DataSourcesAreReadWithTheirDefaultsAndMadeAnewAtEachLoad) {
  const std::string skin = R"xml(<skindata><parameters><param name="Every" default="15"/></parameters>
    <sides><side/></sides>
    <xmls>
      <xml src="http://127.0.0.1/a b.xml" interval="%Every%" usewintmp="1" ongetdata="got(0)"/>
      <xml src="file:///tmp/b.xml" interval="" usewintmp="" ongetdata=""/>
      <xml src="http://127.0.0.1/c.xml" interval="0" usewintmp="no" ongetdata=""/>
    </xmls></skindata>)xml";
  Load(skin);
  const auto& sources = D().data.xmlSources;
  ASSERT_EQ(sources.size(), 3u);
  EXPECT_EQ(sources[0].Src, "http://127.0.0.1/a b.xml");  // expanded at each fetch, not now
  EXPECT_EQ(sources[0].Interval, 15);
  EXPECT_EQ(sources[0].Counter, 15);
  EXPECT_FALSE(sources[0].UseOwnTemp);
  EXPECT_EQ(sources[0].OnGetData, "got(0)");
  EXPECT_EQ(sources[1].Interval, 60);
  EXPECT_EQ(sources[1].Counter, 60);
  EXPECT_TRUE(sources[1].UseOwnTemp);
  EXPECT_EQ(sources[1].OnGetData, "");
  EXPECT_EQ(sources[2].Interval, 0);
  EXPECT_TRUE(sources[2].UseOwnTemp);
  for (const auto& source : sources) {
    ASSERT_NE(source.Document, nullptr);
    EXPECT_TRUE(source.Document->IsEmpty());
    EXPECT_EQ(source.CacheFile, "");
  }
  Load("<skindata><sides><side/></sides><xmls><xml src='x'/></xmls></skindata>");
  EXPECT_EQ(D().data.xmlSources.size(), 1u);
  Load("<skindata><sides><side/></sides></skindata>");
  EXPECT_TRUE(D().data.xmlSources.empty());
}

TEST_F(SkinLoaderTest, ANegativeIntervalOrAStrangeUseWinTmpFailsTheLoad) {
  for (const char* xmls : {"<xml src='a' interval='-1'/>", "<xml src='a' usewintmp='maybe'/>"}) {
    TestHost::Get().Reset();
    Load(std::string("<skindata><sides><side/></sides><xmls>") + xmls + "</xmls></skindata>");
    EXPECT_TRUE(FellBack()) << xmls;
  }
}

}  // namespace
