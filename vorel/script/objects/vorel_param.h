// TVorelParam: one skin parameter as scripts see it. It shares the record
// with the desklet, so a parameter deleted from the collection still
// answers through objects made before. Setting the value only stores it:
// no statement runs and nothing is drawn again; the next expansion of a
// text sees it.
#pragma once

#include <memory>
#include <string>

#include "platform/automation/dispatch_object.h"
#include "vorel/model/parameter_record.h"

namespace vorel {

class TDeskletObject;

class TVorelParam : public automation::DispatchObject<TVorelParam> {
 public:
  static automation::ComPtr<TVorelParam> Create(TDeskletObject& desklet, std::shared_ptr<TParameter> record);
  static const automation::DispatchTable<TVorelParam>& Table();

  TVorelParam(TDeskletObject* desklet, std::shared_ptr<TParameter> record);
  bool IsBound() const { return desklet_ && record_; }

  template <std::string TParameter::*Field>
  std::string GetText() const { return record_.get()->*Field; }
  template <std::string TParameter::*Field>
  void PutText(std::string value) { record_.get()->*Field = std::move(value); }
  bool GetSaveable() const { return record_->Persist; }
  void PutSaveable(bool on) { record_->Persist = on; }

 private:
  TDeskletObject* desklet_;
  std::shared_ptr<TParameter> record_;
};

}  // namespace vorel
