#include "vorel/script/objects/object_classes.h"

#include "vorel/script/objects/object_list.h"
#include "vorel/script/objects/script_control.h"
#include "vorel/script/objects/script_layer.h"
#include "vorel/script/objects/vorel_main.h"
#include "vorel/script/objects/vorel_param.h"
#include "vorel/script/objects/vorel_side.h"
#include "vorel/script/objects/vorel_main_menu.h"
#include "vorel/script/objects/vorel_menu_item.h"
#include "vorel/script/objects/vorel_timer.h"
#include "vorel/script/objects/vorel_io.h"
#include "vorel/script/objects/vorel_ui.h"
#include "vorel/script/objects/vorel_xml.h"

namespace vorel {

namespace {

automation::ComPtr<automation::IDispatch> NewMain() {
  return automation::MakeObject<TVorelMain>(nullptr).As<automation::IDispatch>();
}
automation::ComPtr<automation::IDispatch> NewLayer() {
  return automation::MakeObject<TKivScriptLayer>(nullptr, nullptr).As<automation::IDispatch>();
}
automation::ComPtr<automation::IDispatch> NewControl() {
  return automation::MakeObject<TKivScriptControl>(nullptr, nullptr).As<automation::IDispatch>();
}
automation::ComPtr<automation::IDispatch> NewParam() {
  return automation::MakeObject<TVorelParam>(nullptr, nullptr).As<automation::IDispatch>();
}
automation::ComPtr<automation::IDispatch> NewSide() {
  return automation::MakeObject<TVorelSide>(nullptr, uint8_t{0}).As<automation::IDispatch>();
}
automation::ComPtr<automation::IDispatch> NewTimer() {
  return automation::MakeObject<TVorelTimer>(nullptr, nullptr).As<automation::IDispatch>();
}
automation::ComPtr<automation::IDispatch> NewMainMenu() {
  return automation::MakeObject<TVorelMainMenu>(nullptr, nullptr).As<automation::IDispatch>();
}
automation::ComPtr<automation::IDispatch> NewMenuItem() {
  return automation::MakeObject<TVorelMenuItem>(nullptr, nullptr).As<automation::IDispatch>();
}
automation::ComPtr<automation::IDispatch> NewXml() {
  return automation::MakeObject<TVorelXML>(nullptr, uint8_t{0}).As<automation::IDispatch>();
}
automation::ComPtr<automation::IDispatch> NewIo() {
  return automation::MakeObject<TVorelIO>(nullptr).As<automation::IDispatch>();
}
automation::ComPtr<automation::IDispatch> NewUi() {
  return automation::MakeObject<TVorelUI>(nullptr).As<automation::IDispatch>();
}
automation::ComPtr<automation::IDispatch> NewList() {
  return automation::MakeObject<TKivObjectList>(nullptr, TListKind::Layers, nullptr).As<automation::IDispatch>();
}

}  // namespace

std::vector<std::pair<std::string_view, ObjectCreator>> ImplementedObjectClasses() {
  return {{"VorelMain", &NewMain}, {"KivScriptLayer", &NewLayer}, {"KivObjectList", &NewList},
          {"KivScriptControl", &NewControl}, {"VorelParam", &NewParam}, {"VorelSide", &NewSide},
          {"VorelTimer", &NewTimer},
          {"VorelMainMenu", &NewMainMenu}, {"VorelMenuItem", &NewMenuItem}, {"VorelXML", &NewXml},
          {"VorelIO", &NewIo}, {"VorelUI", &NewUi}};
}

}  // namespace vorel
