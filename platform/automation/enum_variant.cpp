#include "platform/automation/enum_variant.h"

namespace automation {

VariantListEnumerator::VariantListEnumerator(std::vector<Variant> items)
    : items_(std::make_shared<const std::vector<Variant>>(std::move(items))) {}

VariantListEnumerator::VariantListEnumerator(std::shared_ptr<const std::vector<Variant>> items, size_t position)
    : items_(std::move(items)), position_(position) {}

HRESULT VariantListEnumerator::Next(uint32_t celt, Variant* items, uint32_t* fetched) {
  if (fetched) *fetched = 0;
  if (celt > 0 && !items) return E_POINTER;
  uint32_t got = 0;
  try {
    while (got < celt && position_ < items_->size()) items[got++] = (*items_)[position_++];
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  if (fetched) *fetched = got;
  return got == celt ? S_OK : S_FALSE;
}

HRESULT VariantListEnumerator::Skip(uint32_t celt) {
  size_t left = items_->size() - position_;
  if (celt > left) {
    position_ = items_->size();
    return S_FALSE;
  }
  position_ += celt;
  return S_OK;
}

HRESULT VariantListEnumerator::Reset() {
  position_ = 0;
  return S_OK;
}

HRESULT VariantListEnumerator::Clone(IEnumVARIANT** out) {
  if (!out) return E_POINTER;
  try {
    *out = MakeObject<VariantListEnumerator>(items_, position_).Detach();
    return S_OK;
  } catch (const std::bad_alloc&) {
    *out = nullptr;
    return E_OUTOFMEMORY;
  }
}

}  // namespace automation
