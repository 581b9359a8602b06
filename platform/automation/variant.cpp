#include "platform/automation/variant.h"

#include "platform/automation/automation_error.h"
#include "platform/automation/dispatch.h"

namespace automation {

const char* TypeName(VarType type) {
  switch (type) {
    case VarType::Empty: return "Empty";
    case VarType::Null: return "Null";
    case VarType::Int16: return "Smallint";
    case VarType::Int32: return "Integer";
    case VarType::Single: return "Single";
    case VarType::Double: return "Double";
    case VarType::Currency: return "Currency";
    case VarType::Date: return "Date";
    case VarType::String: return "OleStr";
    case VarType::Dispatch: return "Dispatch";
    case VarType::Error: return "Error";
    case VarType::Bool: return "Boolean";
    case VarType::Variant: return "Variant";
    case VarType::Unknown: return "Unknown";
    case VarType::Int8: return "ShortInt";
    case VarType::UInt8: return "Byte";
    case VarType::UInt16: return "Word";
    case VarType::UInt32: return "LongWord";
    case VarType::Int64: return "Int64";
    case VarType::Array: return "Array";
    case VarType::ByRef: return "Variant";
  }
  return "Unknown";
}

Variant::Variant(IDispatch* value) : value_(ObjectRef{ComPtr<IUnknown>(value), true}) {}

Variant::Variant(const ComPtr<IDispatch>& value) : Variant(value.Get()) {}

Variant::Variant(VariantArray value) {
  // The array moves into storage this variant owns.
  auto* array = new VariantArray(std::move(value));  // owned by value_, freed in FreeArray
  value_ = ArrayBox{array};
}

Variant::Variant(const Variant& other) { CopyFrom(other); }

Variant::Variant(Variant&& other) noexcept : value_(std::move(other.value_)) {
  other.value_ = std::monostate{};
}

Variant& Variant::operator=(const Variant& other) {
  if (this != &other) {
    Variant copy(other);
    *this = std::move(copy);
  }
  return *this;
}

Variant& Variant::operator=(Variant&& other) noexcept {
  if (this != &other) {
    FreeArray();
    value_ = std::move(other.value_);
    other.value_ = std::monostate{};
  }
  return *this;
}

Variant::~Variant() { FreeArray(); }

void Variant::CopyFrom(const Variant& other) {
  if (const ArrayBox* box = std::get_if<ArrayBox>(&other.value_)) {
    auto* array = new VariantArray(*box->array);  // owned by value_
    value_ = ArrayBox{array};
  } else {
    value_ = other.value_;
  }
}

void Variant::FreeArray() {
  if (ArrayBox* box = std::get_if<ArrayBox>(&value_)) {
    delete box->array;
    value_ = std::monostate{};
  }
}

Variant Variant::Null() {
  Variant v;
  v.value_ = NullValue{};
  return v;
}

Variant Variant::Unknown(IUnknown* value) {
  Variant v;
  v.value_ = ObjectRef{ComPtr<IUnknown>(value), false};
  return v;
}

Variant Variant::Error(HRESULT code) {
  Variant v;
  v.value_ = ErrorValue{code};
  return v;
}

Variant Variant::Ref(Variant* target) {
  Variant v;
  v.value_ = RefValue{target};
  return v;
}

VarType Variant::Type() const {
  switch (value_.index()) {
    case 0: return VarType::Empty;
    case 1: return VarType::Null;
    case 2: return VarType::Int8;
    case 3: return VarType::Int16;
    case 4: return VarType::Int32;
    case 5: return VarType::Int64;
    case 6: return VarType::UInt8;
    case 7: return VarType::UInt16;
    case 8: return VarType::UInt32;
    case 9: return VarType::Single;
    case 10: return VarType::Double;
    case 11: return VarType::Currency;
    case 12: return VarType::Date;
    case 13: return VarType::Bool;
    case 14: return VarType::String;
    case 15: return std::get<ObjectRef>(value_).dispatch ? VarType::Dispatch : VarType::Unknown;
    case 16: return VarType::Error;
    case 17: return VarType::Array;
    default: return VarType::ByRef;
  }
}

bool Variant::IsMissing() const {
  const ErrorValue* e = std::get_if<ErrorValue>(&value_);
  return e && e->code == DISP_E_PARAMNOTFOUND;
}

bool Variant::IsObject() const { return std::holds_alternative<ObjectRef>(value_); }

bool Variant::IsNothing() const {
  const ObjectRef* o = std::get_if<ObjectRef>(&value_);
  return o && !o->ptr;
}

const Variant& Variant::Deref() const {
  const Variant* v = this;
  // A chain of references ends at a value; a cycle is cut after a bound.
  for (int hops = 0; hops < 16; ++hops) {
    const RefValue* r = std::get_if<RefValue>(&v->value_);
    if (!r || !r->target) return *v;
    v = r->target;
  }
  return *v;
}

Variant& Variant::Deref() { return const_cast<Variant&>(static_cast<const Variant*>(this)->Deref()); }

IDispatch* Variant::Dispatch() const {
  const ObjectRef* o = std::get_if<ObjectRef>(&value_);
  if (!o || !o->dispatch) return nullptr;
  return static_cast<IDispatch*>(o->ptr.Get());
}

IUnknown* Variant::UnknownPtr() const {
  const ObjectRef* o = std::get_if<ObjectRef>(&value_);
  return o ? o->ptr.Get() : nullptr;
}

HRESULT Variant::ErrorCode() const {
  const ErrorValue* e = std::get_if<ErrorValue>(&value_);
  return e ? e->code : S_OK;
}

const VariantArray* Variant::Array() const {
  const ArrayBox* box = std::get_if<ArrayBox>(&value_);
  return box ? box->array : nullptr;
}

VariantArray* Variant::Array() {
  ArrayBox* box = std::get_if<ArrayBox>(&value_);
  return box ? box->array : nullptr;
}

Variant* Variant::RefTarget() const {
  const RefValue* r = std::get_if<RefValue>(&value_);
  return r ? r->target : nullptr;
}

bool operator==(const Variant& a, const Variant& b) {
  if (a.value_.index() != b.value_.index()) return false;
  if (const VariantArray* x = a.Array()) return *x == *b.Array();
  return std::visit(
      [&b](const auto& x) -> bool {
        using T = std::decay_t<decltype(x)>;
        if constexpr (std::is_same_v<T, Variant::ArrayBox>) {
          return false;  // handled above
        } else if constexpr (std::is_same_v<T, std::monostate>) {
          return true;
        } else {
          return x == std::get<T>(b.value_);
        }
      },
      a.value_);
}

const Variant& VariantArray::At(int32_t index) const {
  int64_t offset = static_cast<int64_t>(index) - lower_;
  if (offset < 0 || offset >= static_cast<int64_t>(items_.size())) throw AutomationError(DISP_E_BADINDEX);
  return items_[static_cast<size_t>(offset)];
}

Variant& VariantArray::At(int32_t index) {
  return const_cast<Variant&>(static_cast<const VariantArray*>(this)->At(index));
}

}  // namespace automation
