#include "vorel/script/objects/object_list.h"

#include <cmath>

#include "platform/automation/variant_convert.h"
#include "vorel/model/desklet.h"
#include "vorel/runtime/control_list.h"
#include "vorel/runtime/layer_list.h"
#include "vorel/runtime/parameter_list.h"
#include "vorel/runtime/side_list.h"
#include "vorel/runtime/xml_sources.h"
#include "vorel/script/objects/object_enumerator.h"
#include "vorel/script/objects/script_control.h"
#include "vorel/script/objects/script_layer.h"
#include "vorel/script/objects/vorel_param.h"
#include "vorel/script/objects/vorel_side.h"
#include "vorel/script/objects/vorel_main_menu.h"
#include "vorel/script/objects/vorel_menu_item.h"
#include "vorel/script/objects/vorel_timer.h"
#include "vorel/script/objects/vorel_xml.h"
#include "vorel/typelib/vorel_type_library.h"
#include "vorel/util/errors.h"

namespace vorel {

namespace {

using automation::Variant;
using automation::VarType;

bool IsNumber(const Variant& v) { return automation::IsNumericType(v.Type()) || v.Type() == VarType::Bool; }

// A size argument: an integer that is not negative.
uint32_t NonNegative(const Variant& value) { return CheckedUInt32(automation::ToInt32(value)); }

std::string ListIndexError(int64_t index) { return "List index out of bounds (" + std::to_string(index) + ")"; }

}  // namespace

TKivObjectList::TKivObjectList(TDeskletObject* desklet, TListKind kind, TMenuItemList* items,
                               std::weak_ptr<const char> itemsOwner)
    : desklet_(desklet), kind_(kind), items_(items), itemsOwner_(std::move(itemsOwner)) {}

automation::ComPtr<TKivObjectList> TKivObjectList::Create(TDeskletObject& desklet, TListKind kind,
                                                          TMenuItemList* items, std::weak_ptr<const char> itemsOwner) {
  return automation::MakeObject<TKivObjectList>(&desklet, kind, items, std::move(itemsOwner));
}

const automation::DispatchTable<TKivObjectList>& TKivObjectList::Table() {
  using T = TKivObjectList;
  static const automation::DispatchTable<T> table =
      automation::DispatchTable<T>(VorelInterface("IKivObjectList"))
          .Source("KivObjectList")
          .Implement("New", automation::MemberKind::Method, &T::New)
          .Implement("Delete", automation::MemberKind::Method, &T::Delete)
          .Implement("_NewEnum", automation::MemberKind::PropertyGet, &T::NewEnum)
          .Implement("Item", automation::MemberKind::PropertyGet, &T::Item)
          .Implement("Count", automation::MemberKind::PropertyGet, &T::Count);
  return table;
}

size_t TKivObjectList::Size() const {
  TDeskletObject& d = *desklet_;
  switch (kind_) {
    case TListKind::Layers: return d.layers.size();
    case TListKind::Controls: return d.controlState.controls.size();
    case TListKind::Parameters: return d.parameters.size();
    case TListKind::Timers: return d.timing.timers.Count();
    case TListKind::XmlSources: return d.data.xmlSources.size();
    case TListKind::Sides: return d.sideState.sides.size();
    case TListKind::Menus: return d.menus.size();
    case TListKind::MenuItems: return Items() ? Items()->size() : 0;
  }
  return 0;
}

int32_t TKivObjectList::Count() const { return static_cast<int32_t>(Size()); }

std::optional<size_t> TKivObjectList::PositionOf(const Variant& name) const {
  const Variant& v = name.Deref();
  switch (kind_) {
    case TListKind::XmlSources:
    case TListKind::Sides: {
      const int32_t position = automation::ToInt32(v);
      if (position >= static_cast<int64_t>(Size())) return std::nullopt;
      if (position < 0 || position > 255) throw KivError(errors::kRangeCheck);
      return static_cast<size_t>(position);
    }
    default: {
      if (!IsNumber(v)) return std::nullopt;
      const double value = automation::ToDouble(v);
      const int64_t position = automation::RoundHalfEven(value);
      if (position < 0) throw KivError(ListIndexError(position));
      return static_cast<size_t>(position);
    }
  }
}

std::optional<size_t> TKivObjectList::FindByName(const std::string& name) const {
  switch (kind_) {
    case TListKind::Layers: {
      const auto& layers = desklet_->layers;
      for (size_t i = 0; i < layers.size(); ++i)
        if (layers[i]->Name == name) return i;
      return std::nullopt;
    }
    case TListKind::Controls: {
      const auto& controls = desklet_->controlState.controls;
      for (size_t i = 0; i < controls.size(); ++i)
        if (controls[i]->Name == name) return i;
      return std::nullopt;
    }
    case TListKind::Parameters: {
      const auto& parameters = desklet_->parameters;
      for (size_t i = 0; i < parameters.size(); ++i)
        if (parameters[i]->Name == name) return i;
      return std::nullopt;
    }
    case TListKind::Timers:
      return desklet_->timing.timers.FindLast(name);
    // The other kinds are found by position only.
    case TListKind::XmlSources:
    case TListKind::Sides:
    case TListKind::Menus:
    case TListKind::MenuItems:
      return std::nullopt;
  }
  return std::nullopt;
}

std::optional<size_t> TKivObjectList::Find(const Variant& name) const {
  const Variant& v = name.Deref();
  const bool numeric = IsNumber(v) || kind_ == TListKind::XmlSources || kind_ == TListKind::Sides;
  if (numeric || kind_ == TListKind::Menus || kind_ == TListKind::MenuItems) {
    const std::optional<size_t> position = PositionOf(v);
    if (position && *position < Size()) return position;
    return std::nullopt;
  }
  return FindByName(automation::ToString(v));
}

Variant TKivObjectList::ElementAt(size_t position) {
  switch (kind_) {
    case TListKind::Layers:
      if (position >= desklet_->layers.size()) return Variant::Nothing();
      return Variant(TKivScriptLayer::Create(*desklet_, *desklet_->layers[position]).As<automation::IDispatch>());
    case TListKind::Controls: {
      auto& controls = desklet_->controlState.controls;
      if (position >= controls.size()) return Variant::Nothing();
      return Variant(TKivScriptControl::Create(*desklet_, *controls[position]).As<automation::IDispatch>());
    }
    case TListKind::Parameters:
      if (position >= desklet_->parameters.size()) return Variant::Nothing();
      return Variant(TVorelParam::Create(*desklet_, desklet_->parameters[position]).As<automation::IDispatch>());
    case TListKind::Sides:
      if (position >= desklet_->sideState.sides.size()) return Variant::Nothing();
      return Variant(TVorelSide::Create(*desklet_, static_cast<uint8_t>(position)).As<automation::IDispatch>());
    case TListKind::XmlSources:
      if (position >= desklet_->data.xmlSources.size()) return Variant::Nothing();
      return Variant(TVorelXML::Create(*desklet_, static_cast<uint8_t>(position)).As<automation::IDispatch>());
    case TListKind::Timers:
      if (TTimerRef record = desklet_->timing.timers.At(position))
        return Variant(TVorelTimer::Create(*desklet_, std::move(record)).As<automation::IDispatch>());
      return Variant::Nothing();
    case TListKind::Menus:
      if (position >= desklet_->menus.size()) return Variant::Nothing();
      return Variant(TVorelMainMenu::Create(*desklet_, desklet_->menus[position].get()).As<automation::IDispatch>());
    case TListKind::MenuItems: {
      TMenuItemList* items = Items();
      if (!items || position >= items->size()) return Variant::Nothing();
      return Variant(TVorelMenuItem::Create(*desklet_, *(*items)[position]).As<automation::IDispatch>());
    }
  }
  return Variant::Nothing();
}

Variant TKivObjectList::Item(Variant name) {
  const std::optional<size_t> position = Find(name);
  return position ? ElementAt(*position) : Variant::Nothing();
}

Variant TKivObjectList::New(Variant name, Variant value1, Variant value2, Variant value3, Variant value4) {
  switch (kind_) {
    case TListKind::Layers: {
      const std::string layerName = automation::ToString(name);
      const std::string source = automation::ToString(value1);
      const int16_t x = automation::ToInt16(value2), y = automation::ToInt16(value3);
      const uint8_t side = automation::ToUInt8(value4);
      TLayerObject& layer = AddLayer(*desklet_, layerName, source, x, y, side);
      return Variant(TKivScriptLayer::Create(*desklet_, layer).As<automation::IDispatch>());
    }
    case TListKind::Controls: {
      const std::string controlName = automation::ToString(name);
      const std::string type = automation::ToString(value1);
      const int16_t x = automation::ToInt16(value2), y = automation::ToInt16(value3);
      const uint8_t side = automation::ToUInt8(value4);
      TControlObject& control = AddControl(*desklet_, controlName, type, x, y, side);
      return Variant(TKivScriptControl::Create(*desklet_, control).As<automation::IDispatch>());
    }
    case TListKind::Parameters: {
      const std::string parameterName = automation::ToString(name);
      const std::string value = automation::ToString(value1);
      const std::string onUpdate = automation::ToString(value2);
      std::shared_ptr<TParameter> parameter = AddParameter(*desklet_, parameterName, value, onUpdate);
      if (!parameter) return Variant::Nothing();
      return Variant(TVorelParam::Create(*desklet_, std::move(parameter)).As<automation::IDispatch>());
    }
    case TListKind::XmlSources: {
      std::string source = automation::ToString(value1);
      const int32_t interval = automation::ToInt32(value2);
      if (interval < 0) throw KivError(errors::kRangeCheck);
      std::string onGetData = automation::ToString(value3);
      const size_t index = AddXmlSource(*desklet_, std::move(source), interval, std::move(onGetData));
      // NOTE: as with sides, a source past 255 is kept but has no object.
      if (index > 255) return Variant::Nothing();
      return Variant(TVorelXML::Create(*desklet_, static_cast<uint8_t>(index)).As<automation::IDispatch>());
    }
    case TListKind::Sides: {
      const TSideRecord side{NonNegative(value1), NonNegative(value2), NonNegative(value3), NonNegative(value4)};
      const size_t index = AddSide(*desklet_, side);
      // NOTE: a side past 255 cannot be shown or named by a byte; it is
      // kept, as the list keeps what it was given, but has no object.
      if (index > 255) return Variant::Nothing();
      return Variant(TVorelSide::Create(*desklet_, static_cast<uint8_t>(index)).As<automation::IDispatch>());
    }
    case TListKind::Timers: {
      const std::string timerName = automation::ToString(name);
      const std::string delay = automation::ToString(value1);
      const std::string statement = automation::ToString(value2);
      const uint8_t type = automation::ToUInt8(value3);
      TTimerRef record = desklet_->timing.timers.Add(timerName, delay, type, statement);
      if (!record) return Variant::Nothing();
      return Variant(TVorelTimer::Create(*desklet_, std::move(record)).As<automation::IDispatch>());
    }
    case TListKind::Menus: {
      const uint8_t id = automation::ToUInt8(name);
      const bool showDefault = automation::ToBool(value1);
      std::string onBeforePopup = automation::ToString(value2);
      std::string onAfterPopup = automation::ToString(value3);
      // A taken id gives an object that stands for no menu: the first menu
      // of an id is the only one PopupMenu could show.
      if (FindMenu(desklet_->menus, id))
        return Variant(TVorelMainMenu::Create(*desklet_, nullptr).As<automation::IDispatch>());
      auto menu = std::make_unique<TMenu>();
      menu->ID = id;
      menu->ShowDefaultMenu = showDefault;
      menu->OnBeforePopup = std::move(onBeforePopup);
      menu->OnAfterPopup = std::move(onAfterPopup);
      menu->SubMenu = std::make_unique<TMenuItemList>();
      TMenu* added = desklet_->menus.emplace_back(std::move(menu)).get();
      return Variant(TVorelMainMenu::Create(*desklet_, added).As<automation::IDispatch>());
    }
    case TListKind::MenuItems: {
      auto item = std::make_unique<TMenuItem>();
      item->Name = automation::ToString(name);
      const std::string type = automation::ToString(value1);
      item->OnClick = automation::ToString(value2);
      const bool enabled = automation::ToBool(value3), checked = automation::ToBool(value4);
      item->Flags = MenuItemFlags(type, enabled, checked);
      TMenuItemList* items = Items();
      if (!items) return Variant::Nothing();
      items->push_back(std::move(item));
      return Variant();
    }
  }
  return Variant::Nothing();
}

bool TKivObjectList::Delete(Variant name) {
  switch (kind_) {
    case TListKind::Layers: {
      const std::optional<size_t> position = Find(name);
      if (!position) return false;
      DeleteLayerAt(*desklet_, *position);
      return true;
    }
    case TListKind::Controls: {
      const std::optional<size_t> position = Find(name);
      if (!position) return false;
      DeleteControlAt(*desklet_, *position);
      return true;
    }
    case TListKind::Parameters: {
      const std::optional<size_t> position = Find(name);
      if (!position) return false;
      // Objects that hold the record keep it.
      desklet_->parameters.erase(desklet_->parameters.begin() + static_cast<std::ptrdiff_t>(*position));
      return true;
    }
    case TListKind::XmlSources: {
      const std::optional<size_t> position = Find(name);
      return position && DeleteXmlSourceAt(*desklet_, *position);
    }
    case TListKind::Sides: {
      const std::optional<size_t> position = Find(name);
      if (!position) return false;
      DeleteSideAt(*desklet_, *position);
      return true;
    }
    case TListKind::Timers: {
      const std::optional<size_t> position = Find(name);
      if (!position) return false;
      desklet_->timing.timers.RemoveAt(*position);
      return true;
    }
    // NOTE: deleting a menu or an item answers false even when it deleted
    // something; scripts written against that answer depend on it.
    case TListKind::Menus: {
      if (const std::optional<size_t> position = Find(name))
        desklet_->menus.erase(desklet_->menus.begin() + static_cast<std::ptrdiff_t>(*position));
      return false;
    }
    case TListKind::MenuItems: {
      TMenuItemList* items = Items();
      const std::optional<size_t> position = Find(name);
      if (items && position) items->erase(items->begin() + static_cast<std::ptrdiff_t>(*position));
      return false;
    }
  }
  return false;
}

Variant TKivObjectList::NewEnum() {
  automation::ComPtr<TKivObjectList> self(this);
  return Variant::Unknown(automation::MakeObject<TObjectEnumerator>(std::move(self), 0).Get());
}

}  // namespace vorel
