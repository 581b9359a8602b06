// TVorelTimer: one timer of the desklet as scripts see it. Each lookup makes
// a new object bound to the desklet and the timer's record, which it keeps
// alive: a timer that a script deleted from the collection still answers.
// Setting the delay or the type only stores it; ResetTimer applies it.
#pragma once

#include <cstdint>
#include <string>

#include "platform/automation/dispatch_object.h"
#include "vorel/model/timer_state.h"

namespace vorel {

class TDeskletObject;

class TVorelTimer : public automation::DispatchObject<TVorelTimer> {
 public:
  static automation::ComPtr<TVorelTimer> Create(TDeskletObject& desklet, TTimerRef record);
  static const automation::DispatchTable<TVorelTimer>& Table();

  TVorelTimer(TDeskletObject* desklet, TTimerRef record);
  bool IsBound() const { return desklet_ && record_; }
  const TTimerRef& Record() const { return record_; }

  template <std::string TTimerInfo::*Field>
  std::string GetText() const { return record_.get()->*Field; }
  template <std::string TTimerInfo::*Field>
  void PutText(std::string value) { record_.get()->*Field = std::move(value); }
  uint8_t GetTimerType() const { return record_->type; }
  void PutTimerType(uint8_t type) { record_->type = type; }

  void ResetTimer();
  void StopTimer();

 private:
  TDeskletObject* desklet_;
  TTimerRef record_;
};

}  // namespace vorel
