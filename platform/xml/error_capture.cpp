#include "platform/xml/error_capture.h"

#include <libxml/globals.h>

#include <cstdarg>
#include <cstdio>

#include "platform/util/text.h"

namespace xml::detail {
namespace {

thread_local ErrorCapture* tl_current = nullptr;

// Bounds what a hostile document can make us keep in memory.
constexpr size_t kMaxErrors = 16;
constexpr size_t kMaxGenericBytes = 4096;

}  // namespace

ErrorCapture::ErrorCapture()
    : outer_(tl_current),
      savedStructured_(xmlStructuredError),
      savedStructuredContext_(xmlStructuredErrorContext),
      savedGeneric_(xmlGenericError),
      savedGenericContext_(xmlGenericErrorContext) {
  tl_current = this;
  xmlSetStructuredErrorFunc(this, StructuredHandler);
  xmlSetGenericErrorFunc(this, GenericHandler);
}

ErrorCapture::~ErrorCapture() {
  xmlSetStructuredErrorFunc(savedStructuredContext_, savedStructured_);
  xmlSetGenericErrorFunc(savedGenericContext_, savedGeneric_);
  tl_current = outer_;
}

CapturedError ErrorCapture::First() const {
  if (!errors_.empty()) return errors_.front();
  // libxslt reports in several lines ("runtime error: file ... element x",
  // then the reason); keep them on one line.
  CapturedError generic;
  std::string text = kiv::Trim(generic_);
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find('\n', start);
    std::string line = kiv::Trim(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (!line.empty()) generic.message += (generic.message.empty() ? "" : "; ") + line;
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return generic;
}

std::string ErrorCapture::Describe(const std::string& fallback) const {
  if (Empty()) return fallback;
  CapturedError first = First();
  if (first.message.empty()) return fallback;
  if (first.line > 0) return "line " + std::to_string(first.line) + ": " + first.message;
  return first.message;
}

void ErrorCapture::AddStructured(const xmlError& error) {
  if (errors_.size() >= kMaxErrors) return;
  CapturedError captured;
  captured.message = kiv::Trim(error.message != nullptr ? error.message : "unknown error");
  captured.line = error.line;
  if (error.domain == XML_FROM_XPATH) captured.position = error.int1;
  errors_.push_back(std::move(captured));
}

void ErrorCapture::AddGeneric(const char* text) {
  if (generic_.size() < kMaxGenericBytes) generic_ += text;
}

void ErrorCapture::StructuredHandler(void* userData, xmlErrorPtr error) {
  auto* capture = userData != nullptr ? static_cast<ErrorCapture*>(userData) : tl_current;
  if (capture != nullptr && error != nullptr) capture->AddStructured(*error);
}

void ErrorCapture::GenericHandler(void* ctx, const char* format, ...) {
  auto* capture = ctx != nullptr ? static_cast<ErrorCapture*>(ctx) : tl_current;
  if (capture == nullptr || format == nullptr) return;  // dropped: never stderr
  char buffer[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  capture->AddGeneric(buffer);
}

}  // namespace xml::detail
