// Variant is the value that crosses every dispatch call: arguments, results
// and property values. It holds one of COM's automation types (the numbers
// of VarType are COM's VT_ codes): empty, null, the integer and floating
// types, currency, date (days since 1899-12-30), boolean, UTF-8 text,
// dispatch and unknown references (a null dispatch is "Nothing"), an error
// code (DISP_E_PARAMNOTFOUND marks an omitted optional argument), a
// one-dimensional array of variants with its bounds, or a reference to a
// variant owned elsewhere (a by-reference argument).
//
// Copies are deep for arrays and add a reference for objects, as
// VariantCopy does; a by-reference variant copies the reference, not the
// value it refers to. Conversions live in variant_convert.h.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/automation/com_ptr.h"
#include "platform/automation/hresult.h"

namespace automation {

class IDispatch;
class VariantArray;

enum class VarType : uint16_t {
  Empty = 0,
  Null = 1,
  Int16 = 2,
  Int32 = 3,
  Single = 4,
  Double = 5,
  Currency = 6,
  Date = 7,
  String = 8,
  Dispatch = 9,
  Error = 10,
  Bool = 11,
  Variant = 12,
  Unknown = 13,
  Int8 = 16,
  UInt8 = 17,
  UInt16 = 18,
  UInt32 = 19,
  Int64 = 20,
  Array = 0x200C,  // array of variants
  ByRef = 0x400C,  // reference to a variant
};

// The type's name as the conversion failures spell it ("Integer", "OleStr").
const char* TypeName(VarType type);

// Whether the type holds a number: the integer and floating types and
// currency (not dates or booleans).
constexpr bool IsNumericType(VarType type) {
  switch (type) {
    case VarType::Int8:
    case VarType::Int16:
    case VarType::Int32:
    case VarType::Int64:
    case VarType::UInt8:
    case VarType::UInt16:
    case VarType::UInt32:
    case VarType::Single:
    case VarType::Double:
    case VarType::Currency: return true;
    default: return false;
  }
}

struct Currency {
  int64_t scaled = 0;  // the value times 10000
  friend bool operator==(const Currency&, const Currency&) = default;
};

struct Date {
  double days = 0;  // since 1899-12-30 00:00, local time
  friend bool operator==(const Date&, const Date&) = default;
};

class Variant {
 public:
  Variant() = default;
  Variant(bool value) : value_(value) {}
  Variant(int8_t value) : value_(value) {}
  Variant(int16_t value) : value_(value) {}
  Variant(int32_t value) : value_(value) {}
  Variant(int64_t value) : value_(value) {}
  Variant(uint8_t value) : value_(value) {}
  Variant(uint16_t value) : value_(value) {}
  Variant(uint32_t value) : value_(value) {}
  Variant(float value) : value_(value) {}
  Variant(double value) : value_(value) {}
  Variant(Currency value) : value_(value) {}
  Variant(Date value) : value_(value) {}
  Variant(std::string value) : value_(std::move(value)) {}
  Variant(std::string_view value) : value_(std::string(value)) {}
  Variant(const char* value) : value_(std::string(value ? value : "")) {}
  // A dispatch reference; null is Nothing.
  Variant(IDispatch* value);
  Variant(const ComPtr<IDispatch>& value);
  Variant(VariantArray value);

  Variant(const Variant& other);
  Variant(Variant&& other) noexcept;
  Variant& operator=(const Variant& other);
  Variant& operator=(Variant&& other) noexcept;
  ~Variant();

  static Variant Null();
  static Variant Nothing() { return Variant(static_cast<IDispatch*>(nullptr)); }
  static Variant Unknown(IUnknown* value);
  static Variant Error(HRESULT code);
  // The marker of an omitted optional argument.
  static Variant Missing() { return Error(DISP_E_PARAMNOTFOUND); }
  // Refers to target, which must outlive this variant.
  static Variant Ref(Variant* target);

  VarType Type() const;
  bool IsEmpty() const { return Type() == VarType::Empty; }
  bool IsNull() const { return Type() == VarType::Null; }
  bool IsMissing() const;
  bool IsByRef() const { return Type() == VarType::ByRef; }
  bool IsArray() const { return Type() == VarType::Array; }
  // Dispatch or unknown reference, null or not.
  bool IsObject() const;
  bool IsNothing() const;

  // The value itself: for a by-reference variant the variant it refers to
  // (followed to the end of a chain), otherwise this one.
  const Variant& Deref() const;
  Variant& Deref();

  // Exact access: null when the variant does not hold that type.
  template <class T>
  const T* Get() const {
    return std::get_if<T>(&value_);
  }
  template <class T>
  T* Get() {
    return std::get_if<T>(&value_);
  }
  // For the types that have no C++ type of their own; null when another
  // type is held. They do not add references.
  IDispatch* Dispatch() const;
  IUnknown* UnknownPtr() const;
  HRESULT ErrorCode() const;
  const VariantArray* Array() const;
  VariantArray* Array();
  Variant* RefTarget() const;

  void Clear() { *this = Variant(); }

  // Same type and same value; objects compare by pointer, arrays by bounds
  // and elements.
  friend bool operator==(const Variant& a, const Variant& b);

 private:
  struct NullValue {
    friend bool operator==(NullValue, NullValue) { return true; }
  };
  struct ObjectRef {
    ComPtr<IUnknown> ptr;
    bool dispatch = false;
    friend bool operator==(const ObjectRef& a, const ObjectRef& b) {
      return a.ptr == b.ptr && a.dispatch == b.dispatch;
    }
  };
  struct ErrorValue {
    HRESULT code = 0;
    friend bool operator==(ErrorValue, ErrorValue) = default;
  };
  // Owns the array; copies are deep.
  struct ArrayBox {
    VariantArray* array = nullptr;
  };
  struct RefValue {
    Variant* target = nullptr;
    friend bool operator==(RefValue, RefValue) = default;
  };
  using Storage = std::variant<std::monostate, NullValue, int8_t, int16_t, int32_t, int64_t, uint8_t, uint16_t,
                               uint32_t, float, double, Currency, Date, bool, std::string, ObjectRef, ErrorValue,
                               ArrayBox, RefValue>;

  void CopyFrom(const Variant& other);
  void FreeArray();

  Storage value_;
};

class VariantArray {
 public:
  VariantArray() = default;
  explicit VariantArray(std::vector<Variant> items, int32_t lowerBound = 0)
      : items_(std::move(items)), lower_(lowerBound) {}

  int32_t LowerBound() const { return lower_; }
  // LowerBound() - 1 for an empty array.
  int32_t UpperBound() const { return lower_ + static_cast<int32_t>(items_.size()) - 1; }
  size_t Count() const { return items_.size(); }

  // Indices run from LowerBound() to UpperBound(); others fail with
  // DISP_E_BADINDEX.
  const Variant& At(int32_t index) const;
  Variant& At(int32_t index);

  std::vector<Variant>& Items() { return items_; }
  const std::vector<Variant>& Items() const { return items_; }

  friend bool operator==(const VariantArray&, const VariantArray&) = default;

 private:
  std::vector<Variant> items_;
  int32_t lower_ = 0;
};

}  // namespace automation
