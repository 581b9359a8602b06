#include "vorel/script/objects/vorel_timer.h"

#include "vorel/model/desklet.h"
#include "vorel/runtime/timer_control.h"
#include "vorel/typelib/vorel_type_library.h"

namespace vorel {

TVorelTimer::TVorelTimer(TDeskletObject* desklet, TTimerRef record) : desklet_(desklet), record_(std::move(record)) {}

automation::ComPtr<TVorelTimer> TVorelTimer::Create(TDeskletObject& desklet, TTimerRef record) {
  return automation::MakeObject<TVorelTimer>(&desklet, std::move(record));
}

const automation::DispatchTable<TVorelTimer>& TVorelTimer::Table() {
  using T = TVorelTimer;
  using R = TTimerInfo;
  constexpr auto Get = automation::MemberKind::PropertyGet;
  constexpr auto Put = automation::MemberKind::PropertyPut;
  constexpr auto Method = automation::MemberKind::Method;
  static const automation::DispatchTable<T> table =
      automation::DispatchTable<T>(VorelInterface("IVorelTimer"))
          .Source("VorelTimer")
          .Implement("Name", Get, &T::GetText<&R::name>)
          .Implement("Name", Put, &T::PutText<&R::name>)
          .Implement("Delay", Get, &T::GetText<&R::delay>)
          .Implement("Delay", Put, &T::PutText<&R::delay>)
          .Implement("TimerType", Get, &T::GetTimerType)
          .Implement("TimerType", Put, &T::PutTimerType)
          .Implement("OnTimer", Get, &T::GetText<&R::onTimer>)
          .Implement("OnTimer", Put, &T::PutText<&R::onTimer>)
          .Implement("ResetTimer", Method, &T::ResetTimer)
          .Implement("StopTimer", Method, &T::StopTimer);
  return table;
}

void TVorelTimer::ResetTimer() { vorel::ResetTimer(*desklet_, record_); }

void TVorelTimer::StopTimer() { vorel::StopTimer(*desklet_, *record_); }

}  // namespace vorel
