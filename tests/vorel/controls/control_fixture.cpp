#include "tests/vorel/controls/control_fixture.h"

#include <dlfcn.h>

#include "platform/abi/controls_api.h"
#include "tests/support/test_host.h"

using testhost::TestHost;

namespace controltest {

void ControlFixture::LoadControls(const std::string& controlsXml, const std::string& extraXml) {
  LoadSkin(R"(<skindata><skininfo><name>Controls</name></skininfo>
      <sides><side id="0" width="200" height="100"/><side id="1" width="120" height="80"/></sides>
      <desklet><label>Controls</label></desklet>
      <layers><layer name="back" text="x"/><layer name="other" text="y" side="1"/></layers>)" +
           extraXml + controlsXml + "</skindata>");
  ASSERT_TRUE(D().scripting.scriptEngine);
}

nlohmann::json ControlFixture::Library(const std::string& name) {
  // The plug-in loaded the library by name; the description is asked of
  // that same copy.
  void* library = dlopen(kControlLibraryFile, RTLD_NOW | RTLD_NOLOAD);
  if (!library) return nullptr;
  // The host's own export, beside the plug-in's functions: the controls of
  // a window as JSON.
  using Describe = const char* (*)(HWND);
  auto describe = reinterpret_cast<Describe>(dlsym(library, "KivControlsDescribe"));
  dlclose(library);
  if (!describe) return nullptr;
  for (const nlohmann::json& control : nlohmann::json::parse(describe(kWindow)))
    if (control.value("name", "") == name) return control;
  return nullptr;
}

vorel::TControlObject& ControlFixture::C(const std::string& name) {
  vorel::TControlObject* control = D().FindControl(name);
  if (!control) throw std::runtime_error("no control " + name);
  return *control;
}

std::vector<std::string> ControlFixture::VisibilityOf(const std::string& name) {
  std::vector<std::string> shown;
  const uint32_t id = C(name).LayerId;
  for (const testhost::Call& call : TestHost::Get().CallsOf("DeskletLayerSetVisibility"))
    if (call.args.size() > 2 && call.args[1] == std::to_string(id)) shown.push_back(call.args[2]);
  return shown;
}

}  // namespace controltest
