// TVorelSide: one side of the desklet as scripts see it, by its index (the
// side table may grow and move). The four values are unsigned 32-bit
// numbers: a negative one is refused, and one of 2^31 or more cannot be
// read. Changing the shown side's width or height resizes the desklet at
// its present scale; Reset applies the whole record to the shown desklet.
#pragma once

#include <cstdint>

#include "platform/automation/dispatch_object.h"
#include "vorel/model/side_record.h"

namespace vorel {

class TDeskletObject;

class TVorelSide : public automation::DispatchObject<TVorelSide> {
 public:
  static automation::ComPtr<TVorelSide> Create(TDeskletObject& desklet, uint8_t index);
  static const automation::DispatchTable<TVorelSide>& Table();

  TVorelSide(TDeskletObject* desklet, uint8_t index) : desklet_(desklet), index_(index) {}
  // A side deleted from under the object leaves it bound to nothing.
  bool IsBound() const;

  int32_t GetID() const { return index_; }
  template <uint32_t TSideRecord::*Field>
  int32_t GetValue() const;
  template <uint32_t TSideRecord::*Field>
  void PutCloseValue(int32_t value);
  void PutWidth(int32_t value);
  void PutHeight(int32_t value);
  void Reset();

 private:
  TSideRecord& Record() const;

  TDeskletObject* desklet_;
  uint8_t index_;
};

}  // namespace vorel
