#include "tools/script-runner/wscript_object.h"

#include <filesystem>
#include <system_error>

#include "platform/automation/automation_error.h"
#include "platform/automation/enum_variant.h"
#include "platform/automation/error_info.h"
#include "platform/automation/variant_convert.h"

namespace script_runner {

namespace {

using automation::DispatchTable;
using automation::DispParams;
using automation::HRESULT;
using automation::OptionalParam;
using automation::Param;
using automation::Variant;
using automation::VarType;

// {6C1F2A53-3D4B-4E0A-9B7E-2F51C6A8D901}
constexpr automation::Guid kIidWScript{0x6C1F2A53, 0x3D4B, 0x4E0A, {0x9B, 0x7E, 0x2F, 0x51, 0xC6, 0xA8, 0xD9, 0x01}};
// {6C1F2A53-3D4B-4E0A-9B7E-2F51C6A8D902}
constexpr automation::Guid kIidArguments{0x6C1F2A53, 0x3D4B, 0x4E0A, {0x9B, 0x7E, 0x2F, 0x51, 0xC6, 0xA8, 0xD9, 0x02}};
// {6C1F2A53-3D4B-4E0A-9B7E-2F51C6A8D903}
constexpr automation::Guid kIidTextStream{0x6C1F2A53, 0x3D4B, 0x4E0A, {0x9B, 0x7E, 0x2F, 0x51, 0xC6, 0xA8, 0xD9, 0x03}};

constexpr const char* kSource = "WScript";

std::string FullPathOf(const std::string& path) {
  std::error_code error;
  std::filesystem::path full = std::filesystem::absolute(path, error);
  if (error) return path;
  return full.lexically_normal().string();
}

}  // namespace

std::string EchoText(const Variant& value) {
  if (value.Deref().IsNull()) return "Null";
  return automation::ToString(value);
}

void OutputSink::Write(std::FILE* stream, const std::string& text) {
  if (silenced_ || text.empty()) return;
  if (std::fwrite(text.data(), 1, text.size(), stream) != text.size())
    throw automation::AutomationError(automation::E_FAIL, "The output could not be written");
}

// TextStreamObject

const DispatchTable<TextStreamObject>& TextStreamObject::Table() {
  using T = TextStreamObject;
  static const DispatchTable<T> table =
      DispatchTable<T>("TextStream", kIidTextStream, "Standard output or standard error")
          .Source(kSource)
          .Method("Write", 1, &T::Write, {Param("Text")})
          .Method("WriteLine", 2, &T::WriteLine, {OptionalParam("Text", VarType::Variant, Variant(""))})
          .Method("WriteBlankLines", 3, &T::WriteBlankLines, {Param("Lines")});
  return table;
}

void TextStreamObject::Put(const std::string& text) {
  if (errorStream_) sink_->Err(text);
  else sink_->Out(text);
}

void TextStreamObject::Write(const Variant& text) { Put(EchoText(text)); }

void TextStreamObject::WriteLine(const Variant& text) { Put(EchoText(text) + "\n"); }

void TextStreamObject::WriteBlankLines(int32_t count) {
  if (count < 0) throw automation::AutomationError(automation::E_INVALIDARG, "Invalid procedure call or argument");
  Put(std::string(static_cast<size_t>(count), '\n'));
}

// ArgumentsObject

const DispatchTable<ArgumentsObject>& ArgumentsObject::Table() {
  using T = ArgumentsObject;
  static const DispatchTable<T> table =
      DispatchTable<T>("Arguments", kIidArguments, "The script's command-line arguments")
          .Source(kSource)
          .Get("Item", automation::DISPID_VALUE, &T::Item, {Param("Index")})
          .Method("Count", 1, &T::Count)
          .Get("Length", 2, &T::Count)
          .Get("_NewEnum", automation::DISPID_NEWENUM, &T::NewEnum);
  return table;
}

ArgumentsObject::ArgumentsObject(std::vector<std::string> arguments) {
  arguments_.reserve(arguments.size());
  for (std::string& a : arguments) arguments_.emplace_back(std::move(a));
}

std::string ArgumentsObject::Item(int32_t index) const {
  if (index < 0 || index >= Count()) throw automation::AutomationError(automation::DISP_E_BADINDEX, "Subscript out of range");
  return automation::ToString(arguments_[static_cast<size_t>(index)]);
}

Variant ArgumentsObject::NewEnum() const {
  return Variant::Unknown(automation::MakeObject<automation::VariantListEnumerator>(arguments_).Get());
}

// WScriptObject

const DispatchTable<WScriptObject>& WScriptObject::Table() {
  using T = WScriptObject;
  static const DispatchTable<T> table = [] {
    // Echo and Quit are declared here without code: Invoke answers them.
    auto info = std::make_shared<automation::InterfaceInfo>("WScript", kIidWScript, "The script host");
    info->Method("Echo", kEchoId, {OptionalParam("Values", VarType::Variant)});
    info->Method("Quit", kQuitId, {OptionalParam("ExitCode", VarType::Int32, Variant(0))});
    return DispatchTable<T>(std::move(info))
        .Source(kSource)
        .Get("Arguments", 3, &T::Arguments)
        .Get("ScriptName", 4, &T::ScriptName)
        .Get("ScriptFullName", 5, &T::ScriptFullName)
        .Get("StdOut", 6, &T::StdOut)
        .Get("StdErr", 7, &T::StdErr);
  }();
  return table;
}

WScriptObject::WScriptObject(const std::string& scriptPath, std::vector<std::string> arguments, std::FILE* out,
                             std::FILE* err)
    : sink_(std::make_shared<OutputSink>(out, err)),
      scriptName_(std::filesystem::path(scriptPath).filename().string()),
      scriptFullName_(FullPathOf(scriptPath)),
      arguments_(automation::MakeObject<ArgumentsObject>(std::move(arguments))),
      stdOut_(automation::MakeObject<TextStreamObject>(sink_, false)),
      stdErr_(automation::MakeObject<TextStreamObject>(sink_, true)) {}

WScriptObject::~WScriptObject() = default;

HRESULT WScriptObject::Invoke(automation::DispId id, uint16_t flags, DispParams& params, Variant* result) {
  const bool call = (flags & (automation::DISPATCH_METHOD | automation::DISPATCH_PROPERTYGET)) != 0;
  if (!call || (id != kEchoId && id != kQuitId)) return DispatchObject::Invoke(id, flags, params, result);
  if (!params.namedIds.empty())
    return automation::ReportFailure(automation::DISP_E_NONAMEDARGS,
                                     automation::DescribeHResult(automation::DISP_E_NONAMEDARGS), kSource);
  std::optional<int32_t> quit;
  try {
    if (id == kQuitId) {
      quit = QuitCodeOf(params);
    } else {
      Echo(params);
      if (result) *result = Variant();
    }
  } catch (...) {
    return automation::ReportCurrentException(kSource);
  }
  if (quit) {
    // Thrown past the engine on purpose: nothing of the script may run
    // after it, and nothing more is written should an engine resume.
    quitCode_ = *quit;
    sink_->Silence();
    throw QuitRequest{*quit};
  }
  return automation::S_OK;
}

void WScriptObject::Echo(const DispParams& params) {
  std::string line;
  for (size_t k = params.args.size(); k-- > 0;) {  // the last argument comes first
    if (k + 1 != params.args.size()) line += ' ';
    line += EchoText(params.args[k]);
  }
  line += '\n';
  sink_->Out(line);
}

int32_t WScriptObject::QuitCodeOf(const DispParams& params) {
  if (params.args.size() > 1)
    throw automation::AutomationError(automation::DISP_E_BADPARAMCOUNT,
                                      automation::DescribeHResult(automation::DISP_E_BADPARAMCOUNT));
  if (params.args.empty() || params.args[0].Deref().IsMissing()) return 0;
  return automation::ToInt32(params.args[0]);
}

}  // namespace script_runner
