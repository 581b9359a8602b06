#include "tests/vorel/objects/object_fixture.h"

#include "tests/support/test_host.h"
#include "vorel/model/script_engine.h"

namespace objecttest {

void ObjectFixture::SetUp() {
  DeskletFixture::SetUp();
  WritePng("pic.png", 8, 6, 0xFF00FF00);
  LoadLayers(R"(<layer name="a" text="hello" x="1" y="2" width="40" height="10"/>
                <layer name="b" src="pic.png" x="5" y="5"/>
                <layer name="c" src="pic.png" x="20" y="5" dsrc="pic.png"/>
                <layer name="d" src="pic.png" side="1"/>)");
  D().settings.keyPressAnim = 0;
}

void ObjectFixture::LoadLayers(const std::string& layersXml, const std::string& deskletXml) {
  LoadSkin(R"(<skindata><skininfo><name>Objects</name></skininfo>
      <sides><side id="0" width="100" height="50"/><side id="1" width="60" height="60"/></sides>
      <desklet>)" + (deskletXml.empty() ? std::string("<label>Objects</label>") : deskletXml) + R"(</desklet><layers>)" + layersXml + R"(</layers></skindata>)");
  ASSERT_TRUE(D().scripting.scriptEngine);
  ASSERT_TRUE(D().scripting.mainObject);
  ForgetCalls();
}

void ObjectFixture::ForgetCalls() {
  testhost::TestHost& host = testhost::TestHost::Get();
  const testhost::Desklet kept = host.DeskletOf(kWindow);
  host.Reset();
  host.DeskletOf(kWindow) = kept;
}

void ObjectFixture::Run(const std::string& statement) { D().scripting.scriptEngine->ExecuteStatement(statement); }

std::string ObjectFixture::Eval(const std::string& expression) {
  return D().scripting.scriptEngine->EvaluateToText(expression);
}

std::string ObjectFixture::ErrorOf(const std::string& statement) {
  try {
    Run(statement);
  } catch (const std::exception& e) {
    return e.what();
  }
  return "";
}

vorel::TLayerObject& ObjectFixture::L(const std::string& name) {
  vorel::TLayerObject* layer = D().FindLayerByName(name);
  if (!layer) throw std::runtime_error("no layer " + name);
  return *layer;
}

size_t ObjectFixture::CountOf(const std::string& fn) { return testhost::TestHost::Get().CallsOf(fn).size(); }

}  // namespace objecttest
