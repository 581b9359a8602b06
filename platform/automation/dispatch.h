// IDispatch is how script engines reach every object: members are found by
// name (GetIDsOfNames, without regard to case) and called by dispatch id
// with variant arguments (Invoke). Arguments travel in COM's order, last
// argument first; named arguments stand at the front with their ids in
// DispParams::namedIds (a property put names its value DISPID_PROPERTYPUT).
//
// A failed call returns an error code and leaves the description in the
// thread's error information (error_info.h).
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "platform/automation/unknown.h"
#include "platform/automation/variant.h"

namespace automation {

class InterfaceInfo;

using DispId = int32_t;

inline constexpr DispId DISPID_VALUE = 0;
inline constexpr DispId DISPID_UNKNOWN = -1;
inline constexpr DispId DISPID_PROPERTYPUT = -3;
inline constexpr DispId DISPID_NEWENUM = -4;

// Invoke kinds; a caller may combine METHOD and PROPERTYGET when the
// syntax does not tell them apart (Layers("x")).
inline constexpr uint16_t DISPATCH_METHOD = 1;
inline constexpr uint16_t DISPATCH_PROPERTYGET = 2;
inline constexpr uint16_t DISPATCH_PROPERTYPUT = 4;
inline constexpr uint16_t DISPATCH_PROPERTYPUTREF = 8;

struct DispParams {
  std::span<Variant> args;           // last argument first
  std::span<const DispId> namedIds;  // ids of args[0 .. namedIds.size())
};

class IDispatch : public IUnknown {
 public:
  static constexpr Guid kIid = kIID_IDispatch;
  using Base = IUnknown;

  // 1 when the object describes itself through GetTypeInfo, else 0.
  virtual HRESULT GetTypeInfoCount(uint32_t* count) = 0;
  // The static description of the object's interface; the pointer stays
  // valid for the life of the process.
  virtual HRESULT GetTypeInfo(uint32_t index, const InterfaceInfo** info) = 0;
  // names[0] is the member, further names its parameters; unknown names
  // get DISPID_UNKNOWN and the call answers DISP_E_UNKNOWNNAME.
  virtual HRESULT GetIDsOfNames(std::span<const std::string> names, std::span<DispId> ids) = 0;
  // result may be null when the caller wants none.
  virtual HRESULT Invoke(DispId id, uint16_t flags, DispParams& params, Variant* result) = 0;

 protected:
  ~IDispatch() = default;
};

}  // namespace automation
