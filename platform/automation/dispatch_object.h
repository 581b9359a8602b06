// DispatchObject<T, Extra...> implements IDispatch for class T from T's
// DispatchTable (static const DispatchTable<T>& T::Table()), and answers
// queries for IUnknown, IDispatch, the table's own interface id and the
// further interfaces Extra. When T has `bool IsBound() const`, members of
// an object that answers false follow the table's unbound rule.
#pragma once

#include "platform/automation/com_object.h"
#include "platform/automation/dispatch.h"
#include "platform/automation/dispatch_table.h"
#include "platform/automation/error_info.h"

namespace automation {

template <class T, class... Extra>
class DispatchObject : public ComObject<IDispatch, Extra...> {
 public:
  HRESULT GetTypeInfoCount(uint32_t* count) override {
    if (!count) return E_POINTER;
    *count = 1;
    return S_OK;
  }
  HRESULT GetTypeInfo(uint32_t index, const InterfaceInfo** info) override {
    if (!info) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    try {
      *info = &T::Table().Interface();
      return S_OK;
    } catch (...) {
      return ReportCurrentException("");
    }
  }
  HRESULT GetIDsOfNames(std::span<const std::string> names, std::span<DispId> ids) override {
    try {
      return T::Table().GetIDsOfNames(names, ids);
    } catch (...) {
      return ReportCurrentException("");
    }
  }
  HRESULT Invoke(DispId id, uint16_t flags, DispParams& params, Variant* result) override {
    try {
      const T& self = static_cast<const T&>(*this);
      bool bound = true;
      if constexpr (requires { self.IsBound(); }) bound = self.IsBound();
      return T::Table().Invoke(static_cast<T*>(this), bound, id, flags, params, result);
    } catch (...) {
      return ReportCurrentException("");
    }
  }

 protected:
  DispatchObject() = default;

  // NOTE: a table that cannot be built is a fault in the class's own
  // declarations; every call of the object reports it (Invoke and the type
  // information build the same table), so here it is only "no interface".
  void* QueryExtraInterface(const Guid& iid) override {
    try {
      if (iid == T::Table().Interface().Iid()) return static_cast<IDispatch*>(this);
    } catch (const std::exception&) {
      return nullptr;
    }
    return nullptr;
  }
};

}  // namespace automation
