#include "platform/automation/hresult.h"

#include <cstdio>

namespace automation {

std::string DescribeHResult(HRESULT hr) {
  switch (hr) {
    case S_OK: return "The operation completed successfully.";
    case S_FALSE: return "False";
    case E_NOTIMPL: return "Not implemented";
    case E_NOINTERFACE: return "No such interface supported";
    case E_POINTER: return "Invalid pointer";
    case E_ABORT: return "Operation aborted";
    case E_FAIL: return "Unspecified error";
    case E_UNEXPECTED: return "Catastrophic failure";
    case E_ACCESSDENIED: return "Access is denied.";
    case E_OUTOFMEMORY: return "Not enough storage is available to complete this operation.";
    case E_INVALIDARG: return "The parameter is incorrect.";
    case DISP_E_UNKNOWNINTERFACE: return "Unknown interface.";
    case DISP_E_MEMBERNOTFOUND: return "Member not found.";
    case DISP_E_PARAMNOTFOUND: return "Parameter not found.";
    case DISP_E_TYPEMISMATCH: return "Type mismatch.";
    case DISP_E_UNKNOWNNAME: return "Unknown name.";
    case DISP_E_NONAMEDARGS: return "No named arguments.";
    case DISP_E_BADVARTYPE: return "Bad variable type.";
    case DISP_E_EXCEPTION: return "Exception occurred.";
    case DISP_E_OVERFLOW: return "Out of present range.";
    case DISP_E_BADINDEX: return "Invalid index.";
    case DISP_E_BADPARAMCOUNT: return "Invalid number of parameters.";
    case DISP_E_PARAMNOTOPTIONAL: return "Parameter not optional.";
    case TYPE_E_ELEMENTNOTFOUND: return "Element not found.";
    case CLASS_E_NOAGGREGATION: return "Class does not support aggregation (or class object is remote)";
    case CLASS_E_CLASSNOTAVAILABLE: return "ClassFactory cannot supply requested class";
    case MK_E_UNAVAILABLE: return "Operation unavailable";
    case CO_E_CLASSSTRING: return "Invalid class string";
    case CONNECT_E_NOCONNECTION: return "No connection for this cookie";
    case CONNECT_E_CANNOTCONNECT: return "Cannot connect";
    default: break;
  }
  char text[48];
  std::snprintf(text, sizeof text, "Unspecified error (0x%08X)", static_cast<unsigned>(hr));
  return text;
}

}  // namespace automation
