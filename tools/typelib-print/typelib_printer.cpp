#include "tools/typelib-print/typelib_printer.h"

#include <sstream>

#include "platform/automation/variant_convert.h"
#include "platform/util/text.h"

namespace typelib_print {

using automation::MemberInfo;
using automation::MemberKind;
using automation::ParamInfo;
using automation::VarType;

namespace {

std::string BareGuid(const automation::Guid& guid) {
  std::string text = automation::ToString(guid);
  return text.substr(1, text.size() - 2);
}

// A C-style quoted text, as IDL and skin scripts write literals.
std::string Quoted(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

std::string DefaultText(const automation::Variant& value, bool idl) {
  if (const bool* b = value.Get<bool>()) {
    if (idl) return *b ? "-1" : "0";  // VARIANT_BOOL
    return *b ? "true" : "false";
  }
  if (const std::string* s = value.Get<std::string>()) return Quoted(*s);
  return automation::ToString(value);
}

// --- IDL -------------------------------------------------------------------

std::string IdlParam(const ParamInfo& p) {
  std::string attributes = p.byRef ? "in, out" : "in";
  if (p.optional) attributes += ", optional";
  if (p.defaultValue) attributes += ", defaultvalue(" + DefaultText(*p.defaultValue, true) + ")";
  return "[" + attributes + "] " + IdlTypeName(p.type) + (p.byRef ? "* " : " ") + p.name;
}

const char* IdlKindAttribute(MemberKind kind) {
  switch (kind) {
    case MemberKind::Method: return "";
    case MemberKind::PropertyGet: return ", propget";
    case MemberKind::PropertyPut: return ", propput";
    case MemberKind::PropertyPutRef: return ", propputref";
  }
  return "";
}

void PrintIdlMember(std::ostringstream& out, const MemberInfo& m) {
  out << "    [id(" << m.id << ")" << IdlKindAttribute(m.kind);
  if (!m.doc.empty()) out << ", helpstring(" << Quoted(m.doc) << ")";
  out << "]\n    HRESULT " << m.name << "(";
  std::vector<std::string> params;
  for (const ParamInfo& p : m.params) params.push_back(IdlParam(p));
  if (m.resultType != VarType::Empty) {
    const char* name = m.kind == MemberKind::PropertyGet ? "Value" : "Result";
    params.push_back("[out, retval] " + IdlTypeName(m.resultType) + "* " + name);
  }
  for (size_t i = 0; i < params.size(); ++i) out << (i ? ", " : "") << params[i];
  out << ");\n";
}

void PrintIdlInterface(std::ostringstream& out, const automation::InterfaceInfo& info) {
  out << "  [\n    uuid(" << BareGuid(info.Iid()) << "),\n";
  if (!info.Doc().empty()) out << "    helpstring(" << Quoted(info.Doc()) << "),\n";
  if (info.IsDual()) out << "    dual,\n";
  out << "    oleautomation\n  ]\n";
  out << "  interface " << info.Name() << " : IDispatch\n  {\n";
  for (const MemberInfo& m : info.Members()) PrintIdlMember(out, m);
  out << "  };\n\n";
}

void PrintIdlCoClass(std::ostringstream& out, const automation::CoClassInfo& c) {
  out << "  [\n    uuid(" << BareGuid(c.clsid) << ")";
  if (!c.doc.empty()) out << ",\n    helpstring(" << Quoted(c.doc) << ")";
  out << "\n  ]\n  coclass " << c.name << "\n  {\n";
  for (size_t i = 0; i < c.interfaces.size(); ++i)
    out << "    " << (i == 0 ? "[default] " : "") << "interface " << c.interfaces[i]->Name() << ";\n";
  for (size_t i = 0; i < c.sources.size(); ++i)
    out << "    [" << (i == 0 ? "default, " : "") << "source] dispinterface " << c.sources[i]->Name() << ";\n";
  out << "  };\n\n";
}

// --- Markdown --------------------------------------------------------------

// Table cells must not break the table.
std::string Cell(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '|') out += '\\';
    out += c == '\n' ? ' ' : c;
  }
  return out;
}

std::string ScriptParam(const ParamInfo& p) {
  std::string text = p.name + ": " + ScriptTypeName(p.type);
  if (p.byRef) text += " (by reference)";
  if (p.defaultValue) text += " = " + DefaultText(*p.defaultValue, false);
  return p.optional ? "[" + text + "]" : text;
}

std::string ScriptParams(const std::vector<ParamInfo>& params) {
  std::string out;
  for (size_t i = 0; i < params.size(); ++i) {
    if (i) out += ", ";
    out += ScriptParam(params[i]);
  }
  return out;
}

const char* ScriptKindName(MemberKind kind) {
  switch (kind) {
    case MemberKind::Method: return "method";
    case MemberKind::PropertyGet: return "get";
    case MemberKind::PropertyPut: return "put";
    case MemberKind::PropertyPutRef: return "put (object)";
  }
  return "method";
}

void PrintRow(std::ostringstream& out, const MemberInfo& m, const char* kind, const std::string& params,
              VarType result) {
  out << "| `" << m.name << "` | " << kind << " | " << m.id << " | " << Cell(params) << " | "
      << (result == VarType::Empty ? "" : ScriptTypeName(result)) << " | " << Cell(m.doc) << " |\n";
}

// A get followed by its put under the same id and description is one
// property that can be read and assigned: one row.
bool IsReadWritePair(const MemberInfo& get, const MemberInfo& put) {
  return get.kind == MemberKind::PropertyGet && put.kind == MemberKind::PropertyPut && get.id == put.id &&
         get.doc == put.doc && put.params.size() == get.params.size() + 1;
}

void PrintMarkdownClass(std::ostringstream& out, const automation::CoClassInfo& c) {
  out << "## " << c.name << "\n\n";
  if (!c.doc.empty()) out << Cell(c.doc) << ". ";
  out << "Class id `" << automation::ToString(c.clsid) << "`.\n\n";
  for (const auto& info : c.interfaces) {
    out << "Interface `" << info->Name() << "`" << (info->IsDual() ? " (dual)" : "") << ", `"
        << automation::ToString(info->Iid()) << "`";
    if (!info->Doc().empty()) out << ": " << Cell(info->Doc());
    out << ".\n\n";
    out << "| Member | Kind | DispID | Parameters | Result | Description |\n";
    out << "|---|---|---|---|---|---|\n";
    const auto& members = info->Members();
    for (size_t i = 0; i < members.size(); ++i) {
      const MemberInfo& m = members[i];
      if (i + 1 < members.size() && IsReadWritePair(m, members[i + 1])) {
        PrintRow(out, m, "get/put", ScriptParams(m.params), m.resultType);
        ++i;
        continue;
      }
      PrintRow(out, m, ScriptKindName(m.kind), ScriptParams(m.params), m.resultType);
    }
    out << "\n";
  }
}

}  // namespace

std::string IdlTypeName(VarType type) {
  switch (type) {
    case VarType::Empty: return "void";
    case VarType::Null: return "VARIANT";
    case VarType::Int16: return "short";
    case VarType::Int32: return "long";
    case VarType::Single: return "float";
    case VarType::Double: return "double";
    case VarType::Currency: return "CURRENCY";
    case VarType::Date: return "DATE";
    case VarType::String: return "BSTR";
    case VarType::Dispatch: return "IDispatch*";
    case VarType::Error: return "SCODE";
    case VarType::Bool: return "VARIANT_BOOL";
    case VarType::Variant: return "VARIANT";
    case VarType::Unknown: return "IUnknown*";
    case VarType::Int8: return "signed char";
    case VarType::UInt8: return "unsigned char";
    case VarType::UInt16: return "unsigned short";
    case VarType::UInt32: return "unsigned long";
    case VarType::Int64: return "hyper";
    case VarType::Array: return "SAFEARRAY(VARIANT)";
    case VarType::ByRef: return "VARIANT*";
  }
  return "VARIANT";
}

std::string ScriptTypeName(VarType type) {
  switch (type) {
    case VarType::Empty: return "";
    case VarType::Null: return "VARIANT";
    case VarType::Int16: return "int16";
    case VarType::Int32: return "int32";
    case VarType::Single: return "single";
    case VarType::Double: return "double";
    case VarType::Currency: return "currency";
    case VarType::Date: return "date";
    case VarType::String: return "string";
    case VarType::Dispatch: return "object";
    case VarType::Error: return "error";
    case VarType::Bool: return "bool";
    case VarType::Variant: return "VARIANT";
    case VarType::Unknown: return "IUnknown";
    case VarType::Int8: return "int8";
    case VarType::UInt8: return "byte";
    case VarType::UInt16: return "uint16";
    case VarType::UInt32: return "uint32";
    case VarType::Int64: return "int64";
    case VarType::Array: return "array";
    case VarType::ByRef: return "VARIANT";
  }
  return "VARIANT";
}

std::string PrintIdl(const automation::TypeLibrary& library) {
  std::ostringstream out;
  out << "// Generated from the " << library.Name() << " type library by typelib-print --idl.\n\n";
  out << "[\n  uuid(" << BareGuid(library.Libid()) << "),\n";
  out << "  version(" << library.MajorVersion() << "." << library.MinorVersion() << ")";
  if (!library.HelpString().empty()) out << ",\n  helpstring(" << Quoted(library.HelpString()) << ")";
  out << "\n]\nlibrary " << library.Name() << "\n{\n  importlib(\"stdole2.tlb\");\n\n";
  for (const auto& info : library.Interfaces()) PrintIdlInterface(out, *info);
  for (const automation::CoClassInfo& c : library.CoClasses()) PrintIdlCoClass(out, c);
  out << "};\n";
  return out.str();
}

std::string PrintMarkdown(const automation::TypeLibrary& library) {
  std::ostringstream out;
  out << "# The " << library.Name() << " object model\n\n";
  out << "<!-- Generated from the " << library.Name()
      << " type library by `typelib-print --markdown`; do not edit by hand. -->\n\n";
  out << "Library `" << library.Name() << "`";
  if (!library.HelpString().empty()) out << " (" << Cell(library.HelpString()) << ")";
  out << ", version " << library.MajorVersion() << "." << library.MinorVersion() << ", `"
      << automation::ToString(library.Libid()) << "`.\n\n";
  out << "Member names are matched without regard to case. A *get* reads a property, a *put* assigns it, and "
         "*get/put* marks a property that can be both read and assigned. Optional parameters stand in brackets, "
         "with the value they take when left out after `=`; a parameter *by reference* receives the caller's "
         "variable itself.\n\n";
  out << "| Class | Interface | Class id |\n|---|---|---|\n";
  for (const automation::CoClassInfo& c : library.CoClasses()) {
    out << "| [" << c.name << "](#" << kiv::ToLowerAscii(c.name) << ") | ";
    for (size_t i = 0; i < c.interfaces.size(); ++i) out << (i ? ", " : "") << "`" << c.interfaces[i]->Name() << "`";
    out << " | `" << automation::ToString(c.clsid) << "` |\n";
  }
  out << "\n";
  for (const automation::CoClassInfo& c : library.CoClasses()) PrintMarkdownClass(out, c);
  std::string text = out.str();
  while (text.size() > 1 && text[text.size() - 1] == '\n' && text[text.size() - 2] == '\n') text.pop_back();
  return text;
}

}  // namespace typelib_print
