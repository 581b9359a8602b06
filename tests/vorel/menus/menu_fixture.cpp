#include "tests/vorel/menus/menu_fixture.h"

#include "tests/support/test_host.h"

namespace menutest {

void MenuFixture::LoadMenus(const std::string& menusXml, const std::string& parameters) {
  LoadSkin(R"~(<skindata><skininfo><name>Menus</name></skininfo><parameters>)~" + parameters +
           R"~(</parameters><sides><side id="0" width="50" height="20"/></sides><desklet><label>x</label></desklet>
              <menus>)~" + menusXml + R"~(</menus><layers><layer name="m" text="0"/></layers></skindata>)~");
  ForgetCalls();
  SetLabel("");
}

vorel::TMenuItem& MenuFixture::Item(std::vector<size_t> path, size_t menu) {
  vorel::TMenuItemList* list = Menus().at(menu)->SubMenu.get();
  vorel::TMenuItem* item = nullptr;
  for (size_t position : path) {
    if (!list) throw std::runtime_error("no sub-items");
    item = list->at(position).get();
    list = item->SubMenu.get();
  }
  if (!item) throw std::runtime_error("empty path");
  return *item;
}

std::string MenuFixture::LogText() {
  std::string text;
  for (const auto& line : D().errorLog.Lines()) text += line + "\n";
  return text;
}

std::vector<std::vector<std::string>> MenuFixture::ArgsOf(const std::string& fn) {
  std::vector<std::vector<std::string>> out;
  for (const auto& call : testhost::TestHost::Get().CallsOf(fn)) out.push_back(call.args);
  return out;
}

std::string Mark(const std::string& letters) { return "DeskletLabel = DeskletLabel + '" + letters + "'"; }

}  // namespace menutest
