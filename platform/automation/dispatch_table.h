// DispatchTable<T> is where a dispatch class says, once, what it offers:
// each row declares a member (name, dispatch id, kind, parameters with
// names and defaults) and binds it to a member function of T. Parameter
// and result types come from the function's signature, so the row and the
// code cannot disagree; the declarations land in the table's InterfaceInfo,
// which is also the class's type information.
//
//   static const DispatchTable<Sample>& Table() {
//     static const DispatchTable<Sample> table = DispatchTable<Sample>("ISample", kIidSample)
//         .Method("Add", 1, &Sample::Add, {Param("a"), OptionalParam("b", VarType::Int32, 5)})
//         .Property("Name", 2, &Sample::GetName, &Sample::SetName);
//     return table;
//   }
//
// Calls through the table get, for free: names without regard to case,
// positional and named arguments, conversion of each argument to its C++
// type with the system's failure texts, defaults for omitted optional
// arguments, the unbound-object rule (when T has IsBound()), and every
// exception turned into an error result with its message as description.
// A member declared without code (DeclareMethod & co., or an interface
// handed in ready-made) answers E_NOTIMPL "Not implemented" until a row
// binds it with Implement.
#pragma once

#include <functional>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/automation/arg_traits.h"
#include "platform/automation/dispatch.h"
#include "platform/automation/type_info.h"

namespace automation {

// What a member of an object that stands for nothing any more does.
enum class UnboundRule {
  Fail,          // fails with kUnboundMessage
  SucceedEmpty,  // does nothing and succeeds with a zero, false, empty or Nothing result
};

inline constexpr const char* kUnboundMessage = "The object is no longer connected to the element it stood for";

// The part of the table that does not depend on the class.
class DispatchTableBase {
 public:
  static constexpr size_t kMaxParams = 16;
  using Invoker = std::function<Variant(void* self, Variant* const* args)>;

  const InterfaceInfo& Interface() const { return *info_; }
  const std::shared_ptr<InterfaceInfo>& SharedInterface() const { return info_; }
  const std::string& ErrorSource() const { return source_; }

  HRESULT GetIDsOfNames(std::span<const std::string> names, std::span<DispId> ids) const noexcept;
  HRESULT Invoke(void* self, bool bound, DispId id, uint16_t flags, DispParams& params,
                 Variant* result) const noexcept;

 protected:
  explicit DispatchTableBase(std::shared_ptr<InterfaceInfo> info);
  // Declares the member (when code is given, its types as the signature
  // says) and binds the code to it.
  void AddRow(MemberInfo member, Invoker invoker, std::span<const VarType> argTypes,
              std::span<const bool> argByRef, VarType resultType);
  void BindExisting(std::string_view name, MemberKind kind, Invoker invoker, size_t arity);

  std::shared_ptr<InterfaceInfo> info_;
  std::vector<Invoker> invokers_;  // one per member of info_, empty when not implemented
  UnboundRule unbound_ = UnboundRule::Fail;
  std::string source_;

 private:
  int Resolve(DispId id, uint16_t flags) const;
};

template <class T>
class DispatchTable : public DispatchTableBase {
 public:
  DispatchTable(std::string interfaceName, Guid iid, std::string doc = {})
      : DispatchTableBase(std::make_shared<InterfaceInfo>(std::move(interfaceName), iid, std::move(doc))) {}
  // Rows are added to a ready-made interface, or bind its declared members.
  explicit DispatchTable(std::shared_ptr<InterfaceInfo> info) : DispatchTableBase(std::move(info)) {}

  template <class F>
  DispatchTable& Method(std::string name, DispId id, F fn, std::vector<ParamInfo> params = {}) {
    return Row(std::move(name), id, MemberKind::Method, fn, std::move(params));
  }
  template <class F>
  DispatchTable& Get(std::string name, DispId id, F fn, std::vector<ParamInfo> indexParams = {}) {
    return Row(std::move(name), id, MemberKind::PropertyGet, fn, std::move(indexParams));
  }
  // The setter's last parameter is the assigned value.
  template <class F>
  DispatchTable& Put(std::string name, DispId id, F fn, std::vector<ParamInfo> indexParams = {}) {
    indexParams.push_back(Param("Value"));
    return Row(std::move(name), id, MemberKind::PropertyPut, fn, std::move(indexParams));
  }
  template <class G, class S>
  DispatchTable& Property(std::string name, DispId id, G getter, S setter, std::vector<ParamInfo> indexParams = {}) {
    Get(name, id, getter, indexParams);
    return Put(std::move(name), id, setter, std::move(indexParams));
  }
  // Binds code to a member the interface declares already.
  template <class F>
  DispatchTable& Implement(std::string_view name, MemberKind kind, F fn) {
    BindExisting(name, kind, MakeInvoker(fn), Arity(fn));
    return *this;
  }

  DispatchTable& Unbound(UnboundRule rule) {
    unbound_ = rule;
    return *this;
  }
  // The error source that failures of this class report.
  DispatchTable& Source(std::string source) {
    source_ = std::move(source);
    return *this;
  }

 private:
  template <class R, class... Args>
  static constexpr size_t Arity(R (T::*)(Args...)) { return sizeof...(Args); }
  template <class R, class... Args>
  static constexpr size_t Arity(R (T::*)(Args...) const) { return sizeof...(Args); }

  template <class R, class Fn, class... Args, size_t... I>
  static Variant Call(T& self, Fn fn, Variant* const* args, std::index_sequence<I...>) {
    if constexpr (std::is_void_v<R>) {
      (self.*fn)(ArgTraits<Args>::From(*args[I])...);
      return Variant();
    } else {
      return ResultToVariant((self.*fn)(ArgTraits<Args>::From(*args[I])...));
    }
  }

  template <class R, class... Args>
  static Invoker MakeInvoker(R (T::*fn)(Args...)) {
    static_assert(sizeof...(Args) <= kMaxParams, "too many parameters");
    return [fn](void* self, Variant* const* args) {
      return Call<R, decltype(fn), Args...>(*static_cast<T*>(self), fn, args, std::index_sequence_for<Args...>{});
    };
  }
  template <class R, class... Args>
  static Invoker MakeInvoker(R (T::*fn)(Args...) const) {
    static_assert(sizeof...(Args) <= kMaxParams, "too many parameters");
    return [fn](void* self, Variant* const* args) {
      return Call<R, decltype(fn), Args...>(*static_cast<T*>(self), fn, args, std::index_sequence_for<Args...>{});
    };
  }

  template <class R, class... Args>
  static std::vector<VarType> ArgTypes(R (T::*)(Args...)) { return {ArgTraits<Args>::kType...}; }
  template <class R, class... Args>
  static std::vector<VarType> ArgTypes(R (T::*)(Args...) const) { return {ArgTraits<Args>::kType...}; }
  template <class R, class... Args>
  static std::vector<bool> ArgByRef(R (T::*)(Args...)) { return {ArgTraits<Args>::kByRef...}; }
  template <class R, class... Args>
  static std::vector<bool> ArgByRef(R (T::*)(Args...) const) { return {ArgTraits<Args>::kByRef...}; }
  template <class R, class... Args>
  static constexpr VarType ResultOf(R (T::*)(Args...)) { return ResultType<R>(); }
  template <class R, class... Args>
  static constexpr VarType ResultOf(R (T::*)(Args...) const) { return ResultType<R>(); }

  template <class F>
  DispatchTable& Row(std::string name, DispId id, MemberKind kind, F fn, std::vector<ParamInfo> params) {
    MemberInfo m;
    m.name = std::move(name);
    m.id = id;
    m.kind = kind;
    m.params = std::move(params);
    std::vector<VarType> types = ArgTypes(fn);
    std::vector<bool> byRef = ArgByRef(fn);
    auto flags = std::make_unique<bool[]>(byRef.size() + 1);  // vector<bool> has no span
    for (size_t i = 0; i < byRef.size(); ++i) flags[i] = byRef[i];
    AddRow(std::move(m), MakeInvoker(fn), types, std::span<const bool>(flags.get(), byRef.size()), ResultOf(fn));
    return *this;
  }
};

}  // namespace automation
