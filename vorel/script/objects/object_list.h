// TKivObjectList: the one collection class behind every list scripts see
// (layers, controls, parameters, timers, data sources, sides, menus and a
// menu's items). It holds no elements: each call reads the desklet's list
// as it is now, and each element found is handed out as a new object for
// its record. Item is the default member, so Layers("x") and Layers(0)
// work; _NewEnum gives a TObjectEnumerator for For Each and Enumerator.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/automation/dispatch_object.h"
#include "vorel/model/menu_record.h"

namespace vorel {

class TDeskletObject;

enum class TListKind : uint8_t {
  Layers = 0,
  Controls = 1,
  Parameters = 2,
  Timers = 3,
  XmlSources = 4,
  Sides = 5,
  Menus = 6,
  MenuItems = 7,
};

class TKivObjectList : public automation::DispatchObject<TKivObjectList> {
 public:
  // `items` is the list a menu-item collection shows, and `itemsOwner` the
  // lifetime of the menu or item that owns it: once that is deleted the
  // collection is empty and adds nothing. Other kinds have neither.
  static automation::ComPtr<TKivObjectList> Create(TDeskletObject& desklet, TListKind kind,
                                                   TMenuItemList* items = nullptr,
                                                   std::weak_ptr<const char> itemsOwner = {});
  static const automation::DispatchTable<TKivObjectList>& Table();

  TKivObjectList(TDeskletObject* desklet, TListKind kind, TMenuItemList* items,
                 std::weak_ptr<const char> itemsOwner = {});
  bool IsBound() const { return desklet_ != nullptr; }
  TListKind Kind() const { return kind_; }

  automation::Variant New(automation::Variant name, automation::Variant value1, automation::Variant value2,
                          automation::Variant value3, automation::Variant value4);
  bool Delete(automation::Variant name);
  automation::Variant NewEnum();
  automation::Variant Item(automation::Variant name);
  int32_t Count() const;

  // What the enumerator walks: the count now and the element at a
  // position below it, as Item gives it.
  size_t Size() const;
  automation::Variant ElementAt(size_t position);

 private:
  // The position a numeric argument names, or none for a text (or, for the
  // kinds without names, a value that is not a number).
  std::optional<size_t> PositionOf(const automation::Variant& name) const;
  std::optional<size_t> FindByName(const std::string& name) const;
  std::optional<size_t> Find(const automation::Variant& name) const;
  // The menu-item list while its owner lives; null otherwise.
  TMenuItemList* Items() const { return itemsOwner_.expired() ? nullptr : items_; }

  TDeskletObject* desklet_;
  TListKind kind_;
  TMenuItemList* items_;
  std::weak_ptr<const char> itemsOwner_;
};

}  // namespace vorel
