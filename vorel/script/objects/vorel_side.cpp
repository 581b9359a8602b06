#include "vorel/script/objects/vorel_side.h"

#include "vorel/model/desklet.h"
#include "vorel/runtime/side_resize.h"
#include "vorel/typelib/vorel_type_library.h"
#include "vorel/util/errors.h"

namespace vorel {

automation::ComPtr<TVorelSide> TVorelSide::Create(TDeskletObject& desklet, uint8_t index) {
  return automation::MakeObject<TVorelSide>(&desklet, index);
}

const automation::DispatchTable<TVorelSide>& TVorelSide::Table() {
  using T = TVorelSide;
  using S = TSideRecord;
  constexpr auto Get = automation::MemberKind::PropertyGet;
  constexpr auto Put = automation::MemberKind::PropertyPut;
  static const automation::DispatchTable<T> table =
      automation::DispatchTable<T>(VorelInterface("IVorelSide"))
          .Source("VorelSide")
          .Unbound(automation::UnboundRule::SucceedEmpty)
          .Implement("ID", Get, &T::GetID)
          .Implement("Height", Get, &T::GetValue<&S::Height>)
          .Implement("Height", Put, &T::PutHeight)
          .Implement("Width", Get, &T::GetValue<&S::Width>)
          .Implement("Width", Put, &T::PutWidth)
          .Implement("CloseX", Get, &T::GetValue<&S::CloseX>)
          .Implement("CloseX", Put, &T::PutCloseValue<&S::CloseX>)
          .Implement("CloseY", Get, &T::GetValue<&S::CloseY>)
          .Implement("CloseY", Put, &T::PutCloseValue<&S::CloseY>)
          .Implement("Reset", automation::MemberKind::Method, &T::Reset);
  return table;
}

bool TVorelSide::IsBound() const { return desklet_ && index_ < desklet_->sideState.sides.size(); }

TSideRecord& TVorelSide::Record() const { return desklet_->sideState.sides[index_]; }

template <uint32_t TSideRecord::*Field>
int32_t TVorelSide::GetValue() const {
  const uint32_t value = Record().*Field;
  if (value > 0x7FFFFFFFu) throw KivError(errors::kRangeCheck);
  return static_cast<int32_t>(value);
}

template <uint32_t TSideRecord::*Field>
void TVorelSide::PutCloseValue(int32_t value) {
  Record().*Field = CheckedUInt32(value);
}

void TVorelSide::PutWidth(int32_t value) { SetSideLength(*desklet_, index_, TSideLength::Width, CheckedUInt32(value)); }

void TVorelSide::PutHeight(int32_t value) { SetSideLength(*desklet_, index_, TSideLength::Height, CheckedUInt32(value)); }

void TVorelSide::Reset() { ResetSide(*desklet_, index_); }

}  // namespace vorel
