// MsgBox and InputBox, which ask the host's window services, and
// CreateObject and GetObject, which ask its class registry. A context
// without the service refuses: 5 for the dialogs, 429 for objects.
#include "platform/scriptcontrol/vbscript/vb_builtin_support.h"
#include "platform/scriptcontrol/vbscript/vb_errors.h"

namespace scriptcontrol::vbscript {

namespace {

using automation::Variant;
using namespace builtin_args;

// The dialogs' title when the script gives none.
constexpr const char* kDefaultTitle = "VBScript";

std::string StringOr(const BuiltinCall& call, size_t index, const char* fallback) {
  return Given(call, index) ? String(call, index) : std::string(fallback);
}

Variant MsgBox(BuiltinCall& call) {
  std::string prompt = String(call, 0);
  int32_t buttons = LongOr(call, 1, 0);
  std::string title = StringOr(call, 2, kDefaultTitle);
  if (!call.context.messageBox) Throw(kErrInvalidCall);
  return static_cast<int16_t>(call.context.messageBox(prompt, buttons, title));
}

// Cancel gives Empty, which scripts tell from an empty answer with IsEmpty.
Variant InputBox(BuiltinCall& call) {
  std::string prompt = String(call, 0);
  std::string title = StringOr(call, 1, kDefaultTitle);
  std::string defaultText = StringOr(call, 2, "");
  if (!call.context.inputBox) Throw(kErrInvalidCall);
  std::optional<std::string> answer = call.context.inputBox(prompt, title, defaultText);
  return answer ? Variant(std::move(*answer)) : Variant();
}

Variant CreateObject(BuiltinCall& call) {
  std::string progId = String(call, 0);
  std::string server = StringOr(call, 1, "");
  if (!call.context.createObject) Throw(kErrCannotCreate);
  return call.context.createObject(progId, server);
}

Variant GetObject(BuiltinCall& call) {
  std::string path = StringOr(call, 0, "");
  std::string progId = StringOr(call, 1, "");
  if (!call.context.getObject) Throw(kErrCannotCreate);
  return call.context.getObject(path, progId);
}

constexpr Builtin kInteractionBuiltins[] = {
    {"CreateObject", 1, 2, CreateObject},
    {"GetObject", 0, 2, GetObject},
    {"InputBox", 1, 7, InputBox},
    {"MsgBox", 1, 5, MsgBox},
};

}  // namespace

std::span<const Builtin> InteractionBuiltins() { return kInteractionBuiltins; }

}  // namespace scriptcontrol::vbscript
