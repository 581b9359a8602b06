// IEnumVARIANT walks a sequence of variants, as For Each and JScript's
// Enumerator do: Next fetches up to celt items (S_OK when it got them all,
// S_FALSE when the end came first), Skip moves on (S_FALSE past the end),
// Reset starts over and Clone gives an independent walker at the same
// place. VariantListEnumerator walks a fixed list.
#pragma once

#include <memory>
#include <vector>

#include "platform/automation/com_object.h"
#include "platform/automation/variant.h"

namespace automation {

class IEnumVARIANT : public IUnknown {
 public:
  static constexpr Guid kIid = kIID_IEnumVARIANT;
  using Base = IUnknown;

  // items has room for celt variants; fetched may be null.
  virtual HRESULT Next(uint32_t celt, Variant* items, uint32_t* fetched) = 0;
  virtual HRESULT Skip(uint32_t celt) = 0;
  virtual HRESULT Reset() = 0;
  virtual HRESULT Clone(IEnumVARIANT** out) = 0;

 protected:
  ~IEnumVARIANT() = default;
};

class VariantListEnumerator : public ComObject<IEnumVARIANT> {
 public:
  explicit VariantListEnumerator(std::vector<Variant> items);
  // Clones share the list.
  VariantListEnumerator(std::shared_ptr<const std::vector<Variant>> items, size_t position);

  HRESULT Next(uint32_t celt, Variant* items, uint32_t* fetched) override;
  HRESULT Skip(uint32_t celt) override;
  HRESULT Reset() override;
  HRESULT Clone(IEnumVARIANT** out) override;

 private:
  std::shared_ptr<const std::vector<Variant>> items_;
  size_t position_ = 0;
};

}  // namespace automation
