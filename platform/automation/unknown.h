// IUnknown is the root of every reference-counted object of the automation
// layer: a reference count and queries for further interfaces by id. An
// interface type names its id as kIid and its parent as Base, which lets
// ComPtr query for it and ComObject answer queries for it.
#pragma once

#include <cstdint>

#include "platform/automation/guid.h"
#include "platform/automation/hresult.h"

namespace automation {

class IUnknown {
 public:
  static constexpr Guid kIid = kIID_IUnknown;

  // On success *out holds an added reference; on failure it is null.
  virtual HRESULT QueryInterface(const Guid& iid, void** out) = 0;
  virtual uint32_t AddRef() = 0;
  virtual uint32_t Release() = 0;

 protected:
  // Objects die through Release, never through a pointer to an interface.
  ~IUnknown() = default;
};

}  // namespace automation
