// How C++ parameter and result types of dispatch members meet variants.
// ArgTraits<A>::From converts an argument (the type's VarType tells the
// type library what the parameter is); ResultToVariant wraps a result.
// A parameter of type Variant& is by reference: the member changes the
// caller's variable through it.
#pragma once

#include <cstdint>
#include <string>
#include <type_traits>

#include "platform/automation/automation_error.h"
#include "platform/automation/dispatch.h"
#include "platform/automation/variant.h"
#include "platform/automation/variant_convert.h"

namespace automation {

template <class A>
struct ArgTraits;

#define KIV_AUTOMATION_ARG(CppType, Vt, Convert)         \
  template <>                                            \
  struct ArgTraits<CppType> {                            \
    static constexpr VarType kType = Vt;                 \
    static constexpr bool kByRef = false;                \
    static CppType From(Variant& v) { return Convert(v); } \
  };

KIV_AUTOMATION_ARG(bool, VarType::Bool, ToBool)
KIV_AUTOMATION_ARG(int8_t, VarType::Int8, ToInt8)
KIV_AUTOMATION_ARG(int16_t, VarType::Int16, ToInt16)
KIV_AUTOMATION_ARG(int32_t, VarType::Int32, ToInt32)
KIV_AUTOMATION_ARG(int64_t, VarType::Int64, ToInt64)
KIV_AUTOMATION_ARG(uint8_t, VarType::UInt8, ToUInt8)
KIV_AUTOMATION_ARG(uint16_t, VarType::UInt16, ToUInt16)
KIV_AUTOMATION_ARG(uint32_t, VarType::UInt32, ToUInt32)
KIV_AUTOMATION_ARG(float, VarType::Single, ToSingle)
KIV_AUTOMATION_ARG(double, VarType::Double, ToDouble)
KIV_AUTOMATION_ARG(Date, VarType::Date, ToDate)
KIV_AUTOMATION_ARG(Currency, VarType::Currency, ToCurrency)
KIV_AUTOMATION_ARG(std::string, VarType::String, ToString)
KIV_AUTOMATION_ARG(ComPtr<IDispatch>, VarType::Dispatch, ToDispatch)

#undef KIV_AUTOMATION_ARG

template <>
struct ArgTraits<Variant> {
  static constexpr VarType kType = VarType::Variant;
  static constexpr bool kByRef = false;
  static Variant From(Variant& v) { return v.Deref(); }
};

template <>
struct ArgTraits<VariantArray> {
  static constexpr VarType kType = VarType::Array;
  static constexpr bool kByRef = false;
  static VariantArray From(Variant& v) {
    const Variant& d = v.Deref();
    if (const VariantArray* a = d.Array()) return *a;
    ThrowConversionError(TypeName(d.Type()), TypeName(VarType::Array));
  }
};

// Read-only references convert like values.
template <class A>
struct ArgTraits<const A&> : ArgTraits<A> {};

// The caller's variable itself.
template <>
struct ArgTraits<Variant&> {
  static constexpr VarType kType = VarType::Variant;
  static constexpr bool kByRef = true;
  static Variant& From(Variant& v) { return v.Deref(); }
};

// What a result type is in the type library.
template <class R>
constexpr VarType ResultType() {
  using D = std::decay_t<R>;
  if constexpr (std::is_void_v<D>) {
    return VarType::Empty;
  } else if constexpr (requires { ArgTraits<D>::kType; }) {
    return ArgTraits<D>::kType;
  } else {
    return VarType::Dispatch;  // ComPtr of a dispatch class
  }
}

template <class R>
Variant ResultToVariant(R&& value) {
  using D = std::decay_t<R>;
  if constexpr (std::is_same_v<D, Variant>) {
    return std::forward<R>(value);
  } else if constexpr (std::is_same_v<D, VariantArray>) {
    return Variant(std::forward<R>(value));
  } else if constexpr (requires { value.template As<IDispatch>(); }) {
    return Variant(value.template As<IDispatch>());
  } else {
    return Variant(std::forward<R>(value));
  }
}

}  // namespace automation
