#include "platform/scriptcontrol/vbscript/vb_err_object.h"

#include <array>
#include <string_view>

#include "platform/automation/error_info.h"
#include "platform/automation/variant_convert.h"
#include "platform/scriptcontrol/vbscript/vb_convert.h"
#include "platform/util/text.h"

namespace scriptcontrol::vbscript {

using automation::DispId;
using automation::Variant;

namespace {

enum ErrMember : DispId { kNumber = 0, kDescription = 1, kSource, kHelpFile, kHelpContext, kClear, kRaise };

constexpr std::array<std::string_view, 7> kMemberNames = {"Number",      "Description", "Source", "HelpFile",
                                                          "HelpContext", "Clear",       "Raise"};

constexpr uint32_t kVbFacility = 0x800A0000u;

bool IsGiven(const Variant& v) { return !v.Deref().IsMissing(); }

}  // namespace

automation::HRESULT ResultCodeOf(int32_t vbNumber) {
  if (vbNumber > 0 && vbNumber <= 0xFFFF) return static_cast<automation::HRESULT>(kVbFacility | static_cast<uint32_t>(vbNumber));
  return vbNumber;
}

int32_t VbNumberOf(automation::HRESULT code) {
  uint32_t bits = static_cast<uint32_t>(code);
  if ((bits & 0xFFFF0000u) == kVbFacility) return static_cast<int32_t>(bits & 0xFFFFu);
  switch (code) {
    case automation::DISP_E_UNKNOWNNAME:
    case automation::DISP_E_MEMBERNOTFOUND: return kErrNoSuchMember;
    case automation::DISP_E_BADPARAMCOUNT: return kErrWrongArgCount;
    case automation::DISP_E_TYPEMISMATCH: return kErrTypeMismatch;
    case automation::DISP_E_PARAMNOTOPTIONAL: return kErrNotOptional;
    case automation::DISP_E_BADINDEX: return kErrSubscript;
    case automation::DISP_E_OVERFLOW: return kErrOverflow;
    case automation::DISP_E_NONAMEDARGS: return 446;
    case automation::E_OUTOFMEMORY: return kErrOutOfMemory;
    default: return code;
  }
}

VbError ErrorFromResult(automation::HRESULT code) {
  int32_t number = VbNumberOf(code);
  std::optional<automation::ErrorInfo> info = automation::TakeErrorInfo();
  // NOTE: the members' own texts for the standard failures ("Unknown
  // name.") are not what scripts expect to read; VBScript's text stands
  // for every number it has one for.
  bool ownNumber = number != code;
  if (info && !info->description.empty() && (!ownNumber || (static_cast<uint32_t>(code) & 0xFFFF0000u) == kVbFacility))
    return VbError(number, info->description, info->source);
  if (ownNumber) return VbError(number);
  return VbError(number, automation::DescribeHResult(code), info ? info->source : std::string());
}

VbError ErrorFromException(const automation::AutomationError& failure) {
  return VbError(VbNumberOf(failure.Code()), failure.what());
}

automation::HRESULT ReportVbError(const VbError& error) {
  automation::HRESULT code = ResultCodeOf(error.Number());
  return automation::ReportFailure(code, error.Description(), error.Source());
}

automation::HRESULT ErrObject::GetTypeInfoCount(uint32_t* count) {
  if (!count) return automation::E_POINTER;
  *count = 0;
  return automation::S_OK;
}

automation::HRESULT ErrObject::GetTypeInfo(uint32_t, const automation::InterfaceInfo** info) {
  if (info) *info = nullptr;
  return automation::DISP_E_BADINDEX;
}

automation::HRESULT ErrObject::GetIDsOfNames(std::span<const std::string> names, std::span<DispId> ids) {
  if (names.empty() || ids.size() < names.size()) return automation::E_INVALIDARG;
  for (auto& id : ids) id = automation::DISPID_UNKNOWN;
  for (size_t i = 0; i < kMemberNames.size(); ++i) {
    if (kiv::EqualsIgnoreCase(names[0], kMemberNames[i])) {
      ids[0] = static_cast<DispId>(i);
      return names.size() == 1 ? automation::S_OK : automation::DISP_E_UNKNOWNNAME;
    }
  }
  return automation::DISP_E_UNKNOWNNAME;
}

automation::HRESULT ErrObject::Invoke(DispId id, uint16_t flags, automation::DispParams& params, Variant* result) {
  try {
    ErrState& s = *state_;
    // Arguments arrive last first; put values carry the named id.
    std::vector<Variant> args(params.args.rbegin(), params.args.rend());
    bool put = (flags & (automation::DISPATCH_PROPERTYPUT | automation::DISPATCH_PROPERTYPUTREF)) != 0;
    auto answer = [&](Variant v) {
      if (result) *result = std::move(v);
    };
    switch (id) {
      case kNumber:
        if (put) s.number = ToVbLong(args.at(0));
        else answer(Variant(s.number));
        break;
      case kDescription:
        if (put) s.description = ToVbString(args.at(0));
        else answer(Variant(s.description));
        break;
      case kSource:
        if (put) s.source = ToVbString(args.at(0));
        else answer(Variant(s.source));
        break;
      case kHelpFile:
        if (put) s.helpFile = ToVbString(args.at(0));
        else answer(Variant(s.helpFile));
        break;
      case kHelpContext:
        if (put) s.helpContext = ToVbLong(args.at(0));
        else answer(Variant(s.helpContext));
        break;
      case kClear: s.Clear(); break;
      case kRaise: {
        if (args.empty() || !IsGiven(args[0])) throw VbError(kErrNotOptional);
        int32_t number = ToVbLong(args[0]);
        if (number == 0) throw VbError(kErrInvalidCall);
        std::string source = args.size() > 1 && IsGiven(args[1]) ? ToVbString(args[1]) : std::string();
        std::string description = args.size() > 2 && IsGiven(args[2]) ? ToVbString(args[2]) : std::string();
        if (description.empty()) description = ErrorText(number);
        if (source.empty()) source = "Microsoft VBScript runtime error";
        s.helpFile = args.size() > 3 && IsGiven(args[3]) ? ToVbString(args[3]) : std::string();
        s.helpContext = args.size() > 4 && IsGiven(args[4]) ? ToVbLong(args[4]) : 0;
        throw VbError(number, description, source);
      }
      default: return automation::DISP_E_MEMBERNOTFOUND;
    }
    return automation::S_OK;
  } catch (const VbError& e) {
    return ReportVbError(e);
  } catch (const std::out_of_range&) {
    return automation::DISP_E_BADPARAMCOUNT;
  } catch (...) {
    return automation::ReportCurrentException("Err");
  }
}

}  // namespace scriptcontrol::vbscript
