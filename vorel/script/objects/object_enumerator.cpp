#include "vorel/script/objects/object_enumerator.h"

#include "platform/automation/error_info.h"

namespace vorel {

using automation::HRESULT;

TObjectEnumerator::TObjectEnumerator(automation::ComPtr<TKivObjectList> list, size_t position)
    : list_(std::move(list)), position_(position) {}

HRESULT TObjectEnumerator::Next(uint32_t celt, automation::Variant* items, uint32_t* fetched) {
  uint32_t got = 0;
  try {
    if (!items && celt > 0) return automation::E_POINTER;
    while (got < celt && position_ < list_->Size()) {
      items[got] = list_->ElementAt(position_);
      ++got;
      ++position_;
    }
  } catch (...) {
    if (fetched) *fetched = got;
    return automation::ReportCurrentException("KivObjectList");
  }
  if (fetched) *fetched = got;
  return got == celt ? automation::S_OK : automation::S_FALSE;
}

HRESULT TObjectEnumerator::Skip(uint32_t celt) {
  const size_t count = list_->Size();
  if (position_ + celt >= count) {
    position_ = count > 0 ? count - 1 : 0;
    return automation::S_FALSE;
  }
  position_ += celt;
  return automation::S_OK;
}

HRESULT TObjectEnumerator::Reset() {
  position_ = 0;
  return automation::S_OK;
}

HRESULT TObjectEnumerator::Clone(automation::IEnumVARIANT** out) {
  if (!out) return automation::E_POINTER;
  *out = automation::MakeObject<TObjectEnumerator>(list_, position_).Detach();
  return automation::S_OK;
}

}  // namespace vorel
