// The WScript object a script sees when it runs under the `vbs` and `js`
// command-line runners, modelled on the one of the Windows script host:
// Echo (any number of values, each as text, joined by one blank, then a
// line break on standard output), Arguments (the command-line arguments
// after the script's name: Item as default member, Count, Length, For
// Each), Quit, ScriptName, ScriptFullName, and StdOut and StdErr with
// Write, WriteLine and WriteBlankLines.
//
// Quit records its exit code and throws QuitRequest out of Invoke, so
// that the script stops at once. QuitRequest is no std::exception: the
// script control lets it pass, and an engine that turns foreign exceptions
// into script errors still ends the run, because the runner asks
// QuitCode() before it reports any error, and nothing is written once
// Quit was called.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/automation/dispatch_object.h"

namespace script_runner {

struct QuitRequest {
  int32_t code = 0;
};

// Text as Echo and Write show it: the automation layer's conversion, with
// Null written as "Null" rather than failing.
std::string EchoText(const automation::Variant& value);

// Where the objects' output goes, and whether it is still wanted; shared
// by WScript and its streams, which scripts may keep longer.
class OutputSink {
 public:
  OutputSink(std::FILE* out, std::FILE* err) : out_(out), err_(err) {}
  void Out(const std::string& text) { Write(out_, text); }
  void Err(const std::string& text) { Write(err_, text); }
  void Silence() { silenced_ = true; }

 private:
  void Write(std::FILE* stream, const std::string& text);

  std::FILE* out_;
  std::FILE* err_;
  bool silenced_ = false;
};

// StdOut or StdErr.
class TextStreamObject : public automation::DispatchObject<TextStreamObject> {
 public:
  static const automation::DispatchTable<TextStreamObject>& Table();

  TextStreamObject(std::shared_ptr<OutputSink> sink, bool errorStream)
      : sink_(std::move(sink)), errorStream_(errorStream) {}

  void Write(const automation::Variant& text);
  void WriteLine(const automation::Variant& text);
  void WriteBlankLines(int32_t count);

 private:
  void Put(const std::string& text);

  std::shared_ptr<OutputSink> sink_;
  bool errorStream_;
};

class ArgumentsObject : public automation::DispatchObject<ArgumentsObject> {
 public:
  static const automation::DispatchTable<ArgumentsObject>& Table();

  explicit ArgumentsObject(std::vector<std::string> arguments);

  std::string Item(int32_t index) const;
  int32_t Count() const { return static_cast<int32_t>(arguments_.size()); }
  automation::Variant NewEnum() const;

 private:
  std::vector<automation::Variant> arguments_;
};

class WScriptObject : public automation::DispatchObject<WScriptObject> {
 public:
  static constexpr automation::DispId kEchoId = 1;
  static constexpr automation::DispId kQuitId = 2;

  static const automation::DispatchTable<WScriptObject>& Table();

  // scriptPath as given on the command line.
  WScriptObject(const std::string& scriptPath, std::vector<std::string> arguments, std::FILE* out, std::FILE* err);
  ~WScriptObject() override;

  // Echo takes any number of arguments and Quit must throw past the
  // table's own exception handling, so both are answered here.
  automation::HRESULT Invoke(automation::DispId id, uint16_t flags, automation::DispParams& params,
                             automation::Variant* result) override;

  // The code Quit asked for, once it was called.
  std::optional<int32_t> QuitCode() const { return quitCode_; }

  automation::ComPtr<automation::IDispatch> Arguments() const { return arguments_; }
  std::string ScriptName() const { return scriptName_; }
  std::string ScriptFullName() const { return scriptFullName_; }
  automation::ComPtr<automation::IDispatch> StdOut() const { return stdOut_; }
  automation::ComPtr<automation::IDispatch> StdErr() const { return stdErr_; }

 private:
  void Echo(const automation::DispParams& params);
  static int32_t QuitCodeOf(const automation::DispParams& params);

  std::shared_ptr<OutputSink> sink_;
  std::string scriptName_;
  std::string scriptFullName_;
  automation::ComPtr<ArgumentsObject> arguments_;
  automation::ComPtr<TextStreamObject> stdOut_;
  automation::ComPtr<TextStreamObject> stdErr_;
  std::optional<int32_t> quitCode_;
};

}  // namespace script_runner
