// TObjectEnumerator: walks a collection for For Each and JScript's
// Enumerator. It keeps its collection alive and reads the collection's
// count at every step, so elements added or deleted meanwhile are seen.
#pragma once

#include <cstddef>

#include "platform/automation/enum_variant.h"
#include "vorel/script/objects/object_list.h"

namespace vorel {

class TObjectEnumerator : public automation::ComObject<automation::IEnumVARIANT> {
 public:
  TObjectEnumerator(automation::ComPtr<TKivObjectList> list, size_t position);

  automation::HRESULT Next(uint32_t celt, automation::Variant* items, uint32_t* fetched) override;
  // NOTE: skipping past the end leaves the walker on the last element
  // (not after it) and answers S_FALSE; a Next after it gives that element.
  automation::HRESULT Skip(uint32_t celt) override;
  automation::HRESULT Reset() override;
  automation::HRESULT Clone(automation::IEnumVARIANT** out) override;

 private:
  automation::ComPtr<TKivObjectList> list_;
  size_t position_;
};

}  // namespace vorel
