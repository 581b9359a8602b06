#include "vorel/runtime/control_notifications.h"

#include <memory>
#include <string>

#include "vorel/host/control_library.h"
#include "vorel/model/desklet.h"
#include "vorel/runtime/statement_runner.h"

namespace vorel {

namespace {

// The record's desklet when it is there to run a statement for.
TDeskletObject* LiveOwner(const TControlObject& control) {
  TDeskletObject* owner = control.Owner;
  if (!owner || !TDeskletObject::IsLive(owner) || owner->destroying) return nullptr;
  return owner;
}

template <std::string TControlObject::*Statement>
int32_t RunControlStatement(void* record, int32_t*) {
  auto* control = static_cast<TControlObject*>(record);
  if (!control || (control->*Statement).empty()) return 0;
  TDeskletObject* owner = LiveOwner(*control);
  if (!owner) return 0;
  // RunStatement reports every failure itself; the statement may delete
  // this very control, so the record is not touched afterwards.
  const std::string statement = control->*Statement;
  RunStatement(*owner, statement);
  return -1;
}

// The drop-down list's selection is about to change to *index: the
// statement sees the index as NewIndex and may change it, and the library
// selects what NewIndex holds afterwards.
int32_t OnSelectionChange(void* record, int32_t* index) {
  auto* control = static_cast<TControlObject*>(record);
  if (!control || control->OnChange.empty()) return 0;
  TDeskletObject* owner = LiveOwner(*control);
  if (!owner) return 0;
  if (index) control->NewIndex = *index;
  const std::weak_ptr<const char> alive = control->lifetime;
  const std::string statement = control->OnChange;
  RunStatement(*owner, statement);
  if (index && !alive.expired()) *index = control->NewIndex;
  return -1;
}

void Register(const TControlObject& control, uint32_t code, KivControlCallback routine) {
  controls::KivSendMessage(control.Handle, code, reinterpret_cast<WPARAM>(&control),
                           reinterpret_cast<LPARAM>(routine));
}

}  // namespace

void RegisterControlNotifications(const TControlObject& control) {
  Register(control, controls::kOnEnter, &RunControlStatement<&TControlObject::OnEnter>);
  Register(control, controls::kOnExit, &RunControlStatement<&TControlObject::OnExit>);
  if (IsTextControl(control)) {
    Register(control, controls::kOnKeyEnter, &RunControlStatement<&TControlObject::OnKeyEnter>);
    Register(control, controls::kOnTextChange, &RunControlStatement<&TControlObject::OnChange>);
  } else if (control.CtrlType == kScrollBarType) {
    Register(control, controls::kOnScroll, &RunControlStatement<&TControlObject::OnChange>);
  } else if (control.CtrlType == kDropDownListType) {
    Register(control, controls::kOnSelect, &OnSelectionChange);
  }
}

}  // namespace vorel
