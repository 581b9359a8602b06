// ErrorCapture collects what libxml2 and libxslt report during one call
// instead of letting them print to stderr. While one is alive it is the
// calling thread's error channel for libxml2 (structured and generic
// handlers are per thread in libxml2) and receives libxslt's process-wide
// generic channel for this thread. Captures nest; the innermost one wins.
#pragma once

#include <libxml/xmlerror.h>

#include <string>
#include <vector>

namespace xml::detail {

struct CapturedError {
  std::string message;  // without the trailing newline
  int line = 0;         // 0 when unknown
  int position = -1;    // XPath: offset within the expression
};

class ErrorCapture {
 public:
  ErrorCapture();
  ~ErrorCapture();
  ErrorCapture(const ErrorCapture&) = delete;
  ErrorCapture& operator=(const ErrorCapture&) = delete;

  bool Empty() const { return errors_.empty() && generic_.empty(); }
  // The first structured error, or the generic text when there was none.
  CapturedError First() const;
  // The first error with its line ("line 3: ..."), or fallback when empty.
  std::string Describe(const std::string& fallback) const;

  // Handlers, userData/ctx being an ErrorCapture* (or null: the current one).
  static void StructuredHandler(void* userData, xmlErrorPtr error);
  static void GenericHandler(void* ctx, const char* format, ...);

 private:
  void AddStructured(const xmlError& error);
  void AddGeneric(const char* text);

  ErrorCapture* outer_;
  xmlStructuredErrorFunc savedStructured_;
  void* savedStructuredContext_;
  xmlGenericErrorFunc savedGeneric_;
  void* savedGenericContext_;
  std::vector<CapturedError> errors_;
  std::string generic_;
};

}  // namespace xml::detail
