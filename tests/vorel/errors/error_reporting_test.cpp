// What a skin author sees when something goes wrong: every failure the
// plug-in catches while loading, drawing and running statements lands in
// the desklet's error log, naming where it happened, and reaches the host.
// Also the rules that keep drawing sound while scripts delete layers.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/abi/plugin_api.h"
#include "tests/vorel/render/render_fixture.h"
#include "vorel/host/messages.h"
#include "vorel/load/skin_loader.h"
#include "vorel/model/script_engine.h"
#include "vorel/runtime/statement_runner.h"
#include "vorel/util/errors.h"

using testhost::TestHost;
using testing::HasSubstr;

namespace rendertest {
namespace {

const std::string kRule(31, '-');

std::string Skin(const std::string& desklet, const std::string& layers, const std::string& sides = "") {
  return "<skindata><sides>" + (sides.empty() ? std::string("<side id=\"0\" width=\"100\" height=\"50\"/>") : sides) +
         "</sides><desklet>" + desklet + "</desklet><layers>" + layers + "</layers></skindata>";
}

class ErrorReportingTest : public DeskletFixture {
 protected:
  const std::vector<std::string>& Log() { return D().errorLog.Lines(); }
  std::string LogText() {
    std::string all;
    for (auto& line : Log()) all += line + "\n";
    return all;
  }
  uint32_t IdOf(const std::string& name) {
    vorel::TLayerObject* layer = D().FindLayerByName(name);
    EXPECT_NE(layer, nullptr) << name;
    return layer ? layer->Id : 0;
  }
  void Click(uint32_t id) {
    KivPoint pt{1, 1};
    KivSize size{10, 10};
    OnLayerMouseOn(instance_, id, "", &pt, &size);
    OnLayerMouseDown(instance_, id, "", &pt, &size, 1);
    OnLayerMouseUp(instance_, id, "", &pt, &size, 1);
  }
  void Run(const std::string& statement) { D().scripting.scriptEngine->ExecuteStatement(statement); }
};

TEST_F(ErrorReportingTest, AFailingStatementNamesItsLayerAndEventAndKeepsItsLineAndColumn) {
  LoadSkin(Skin("<label>x</label>", R"X(<layer name="btn" text="go" width="20" height="10"
                                             onclick="var a = 1;&#10;undefinedThing();"/>)X"));
  ASSERT_TRUE(Log().empty()) << LogText();
  D().settings.keyPressAnim = 0;
  Click(IdOf("btn"));
  ASSERT_EQ(Log().size(), 3u) << LogText();
  EXPECT_THAT(Log()[0], HasSubstr("Microsoft JScript runtime error (layer \"btn\" onclick)"));
  EXPECT_THAT(Log()[1], HasSubstr("undefinedThing"));
  EXPECT_THAT(Log()[1], HasSubstr("Line:2"));
  EXPECT_EQ(Log()[2], kRule);
  // The host was told of the same lines, in order.
  std::vector<std::string> told;
  for (auto& call : TestHost::Get().CallsOf("WinErrorLogLine")) told.push_back(call.args[1]);
  EXPECT_EQ(told, Log());
  // The desklet keeps running: a good statement still works.
  Run("kiv.DeskletLabel = 'still here'");
}

TEST_F(ErrorReportingTest, AMissingSkinFileIsReportedAndTheDefaultPictureShown) {
  D().settings.onCreate = "";
  vorel::LoadSkin(D(), dir_.Path() + "skin/nothing.xml", true, false);
  ASSERT_EQ(Log().size(), 3u) << LogText();
  EXPECT_THAT(Log()[0], HasSubstr("Vorel (skin nothing.xml)"));
  EXPECT_THAT(Log()[1], HasSubstr("skin file not found"));
  auto images = TestHost::Get().CallsOf("DeskletSetImageFile");
  ASSERT_FALSE(images.empty());
  EXPECT_EQ(images.back().args[1], "Default.png");
}

TEST_F(ErrorReportingTest, AVBScriptFileWithASyntaxErrorIsReportedInVBScriptsWords) {
  dir_.Write("skin/code.vbs", "Sub Ok()\nEnd Sub\nSub Broken(\n");
  LoadSkin(Skin("<language>VBScript</language><script>code.vbs</script>", R"X(<layer name="a" text="x"/>)X"));
  ASSERT_EQ(Log().size(), 3u) << LogText();
  EXPECT_THAT(Log()[0], HasSubstr("VBScript compilation error (skin skin.xml, desklet settings, script code.vbs)"));
  EXPECT_THAT(LogText(), HasSubstr("Line:3"));
}

TEST_F(ErrorReportingTest, AScriptFileThatCannotBeReadFailsInsteadOfAddingNothing) {
  dir_.Write("skin/code.js/.keep", "");  // a folder where the file should be
  vorel::TErrorLog log;
  auto engine = vorel::CreateScriptEngine(log);
  EXPECT_THROW(engine->AddCodeFromFile(dir_.Path() + "skin/code.js"), vorel::KivError);
  EXPECT_NO_THROW(engine->AddCodeFromFile(dir_.Path() + "skin/missing.js"));
}

TEST_F(ErrorReportingTest, AScriptFileWithASyntaxErrorIsReportedOnce) {
  dir_.Write("skin/code.js", "function f( {\n");
  LoadSkin(Skin("<script>code.js</script>", R"X(<layer name="a" text="x"/>)X"));
  ASSERT_EQ(Log().size(), 3u) << LogText();
  EXPECT_THAT(Log()[0], HasSubstr("compilation error (skin skin.xml, desklet settings, script code.js)"));
}

TEST_F(ErrorReportingTest, ABrokenLayerIsSkippedWithItsNameAndTheOthersLoad) {
  LoadSkin(Skin("<label>x</label>", R"X(<layer name="good" text="a"/>
                                          <layer name="bad" text="b" textresize="maybe"/>
                                          <layer name="after" text="c"/>)X"));
  EXPECT_NE(D().FindLayerByName("good"), nullptr);
  EXPECT_EQ(D().FindLayerByName("bad"), nullptr);
  EXPECT_NE(D().FindLayerByName("after"), nullptr);
  ASSERT_EQ(Log().size(), 3u) << LogText();
  EXPECT_THAT(Log()[0], HasSubstr("(skin skin.xml, layers, layer \"bad\")"));
  EXPECT_THAT(Log()[1], HasSubstr("maybe"));
}

TEST_F(ErrorReportingTest, AScriptSourceThatFailsNamesTheLayerBeingDrawn) {
  LoadSkin(Skin("<label>x</label>", R"X(<layer name="clock" src="!SCRIPT:noSuchFunction()"/>)X"));
  ASSERT_EQ(Log().size(), 3u) << LogText();
  EXPECT_THAT(Log()[0], HasSubstr("runtime error (skin skin.xml, layers, layer \"clock\")"));
  EXPECT_THAT(Log()[1], HasSubstr("noSuchFunction"));
}

TEST_F(ErrorReportingTest, ADataReferenceThatDoesNotReadIsReportedWhenRedrawn) {
  LoadSkin(Skin("<label>x</label>", R"X(<layer name="v" src="!XML:x[1]"/>)X"));
  const size_t atLoad = Log().size();
  EXPECT_GE(atLoad, 3u) << LogText();
  LRESULT result = 0;
  OnProcessMessageEx(instance_, kWindow, vorel::MSG_REFRESH_LAYERS, 0, 0, &result);
  ASSERT_EQ(Log().size(), atLoad + 3) << LogText();
  EXPECT_THAT(Log()[atLoad], HasSubstr("Vorel (drawing layer \"v\")"));
  EXPECT_THAT(Log()[atLoad + 1], HasSubstr("!XML:x[1]"));
}

TEST_F(ErrorReportingTest, SidesThatShiftTheirValuesAreWarnedOf) {
  LoadSkin(Skin("<label>x</label>", R"X(<layer name="a" text="x"/>)X",
                R"X(<side id="0" width="100" height="50"/><side id="1" height="60"/><side id="2" width="70" height="70"/>)X"));
  ASSERT_EQ(Log().size(), 3u) << LogText();
  EXPECT_EQ(Log()[0], "0  Vorel skin warning (skin skin.xml, sides)");
  EXPECT_THAT(Log()[1], HasSubstr("side 2 of 3 has no \"width\" attribute but a later side has one"));
  // The rule itself stands: side 1 took side 2's width.
  EXPECT_EQ(D().sideState.sides[1].Width, 70u);
}

TEST_F(ErrorReportingTest, TrailingOmissionsAreNotWarnedOf) {
  LoadSkin(Skin("<label>x</label>", R"X(<layer name="a" text="x"/>)X",
                R"X(<side id="0" width="100" height="50" closex="3"/><side id="1" width="60" height="60"/>)X"));
  EXPECT_TRUE(Log().empty()) << LogText();
}

TEST_F(ErrorReportingTest, WithoutDeskletSettingsThereIsNoMainObject) {
  LoadSkin(Skin("", R"X(<layer name="a" text="x"/>)X"));
  EXPECT_FALSE(D().scripting.mainObject);
  vorel::RunStatement(D(), "try { kiv.DeskletLabel = 'x'; } catch (e) { throw new Error('no kiv'); }");
  EXPECT_THAT(LogText(), HasSubstr("no kiv"));
}

TEST_F(ErrorReportingTest, WithoutAScriptEngineThereIsStillAMainObject) {
  D().scripting.scriptEngine.reset();
  LoadSkin(Skin("<label>x</label>", R"X(<layer name="a" text="x"/>)X"));
  EXPECT_TRUE(D().scripting.mainObject);
}

TEST_F(ErrorReportingTest, TheHostGetsTheMainObjectWithAReferenceOfItsOwn) {
  void* slot = reinterpret_cast<void*>(1);
  OnGetModel(instance_, &slot);
  EXPECT_EQ(slot, nullptr);  // no skin, no main object
  LoadSkin(Skin("<label>x</label>", R"X(<layer name="a" text="x"/>)X"));
  OnGetModel(instance_, &slot);
  ASSERT_EQ(slot, D().scripting.mainObject.Get());
  auto* model = static_cast<automation::IDispatch*>(slot);
  // The host's reference keeps the object after the desklet lets go.
  model->AddRef();
  EXPECT_GE(model->Release(), 2u);
  model->Release();
  OnGetModel(instance_, nullptr);
  OnGetModel(nullptr, &slot);
}

// A script source may delete layers while the desklet is being drawn:
// drawing goes on with what is left and never touches a freed record.
TEST_F(ErrorReportingTest, AScriptSourceThatDeletesItsOwnLayerEndsItsDrawing) {
  dir_.Write("skin/code.js", "var armed = false;\nfunction text() { if (armed) kiv.Layers.Delete('self'); return 'x'; }\n");
  LoadSkin(Skin("<script>code.js</script>", R"X(<layer name="self" src="!SCRIPT:text()"/>
                                                 <layer name="other" text="y"/>)X"));
  ASSERT_TRUE(Log().empty()) << LogText();
  Run("armed = true");
  LRESULT result = 0;
  OnProcessMessageEx(instance_, kWindow, vorel::MSG_REFRESH_LAYERS, 0, 0, &result);
  EXPECT_EQ(D().FindLayerByName("self"), nullptr);
  EXPECT_NE(D().FindLayerByName("other"), nullptr);
  EXPECT_TRUE(Log().empty()) << LogText();
}

TEST_F(ErrorReportingTest, AScriptSourceThatDeletesALaterLayerIsPassedOver) {
  dir_.Write("skin/code.js", "var armed = false;\nfunction text() { if (armed) kiv.Layers.Delete('later'); return 'x'; }\n");
  LoadSkin(Skin("<script>code.js</script>", R"X(<layer name="first" src="!SCRIPT:text()"/>
                                                 <layer name="later" text="y"/>
                                                 <layer name="last" text="z"/>)X"));
  Run("armed = true");
  LRESULT result = 0;
  OnProcessMessageEx(instance_, kWindow, vorel::MSG_REFRESH_LAYERS, 0, 0, &result);
  EXPECT_EQ(D().FindLayerByName("later"), nullptr);
  EXPECT_NE(D().FindLayerByName("last"), nullptr);
  EXPECT_TRUE(Log().empty()) << LogText();
}

TEST_F(ErrorReportingTest, AChildsScriptThatDeletesItsParentStopsTheChildren) {
  dir_.Write("skin/code.js", "var armed = false;\nfunction text() { if (armed) kiv.Layers.Delete('parent'); return '!TXT:x'; }\n");
  LoadSkin(Skin("<script>code.js</script>", R"X(<layer name="parent" text="p" width="30" height="10">
                                                   <layer src="!SCRIPT:text()"/><layer text="second"/>
                                                 </layer>)X"));
  Run("armed = true");
  LRESULT result = 0;
  OnProcessMessageEx(instance_, kWindow, vorel::MSG_REFRESH_LAYERS, 0, 0, &result);
  EXPECT_EQ(D().FindLayerByName("parent"), nullptr);
  EXPECT_TRUE(Log().empty()) << LogText();
}

}  // namespace
}  // namespace rendertest
