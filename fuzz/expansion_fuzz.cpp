// Variable expansion, the split routine and the replace routine on any
// text. The input is parameter lines ("name=value") up to a blank line,
// then the text: the parameters go into a desklet and the text is expanded
// with them. The same text is split with the delimiter and options the
// first two bytes choose, and rewritten with a rule taken from it.
//
// Checked, beyond not crashing: pieces split without skipping joined by
// the delimiter give the text back, and a rewrite whose replacement does
// not hold its search text leaves no occurrence behind unless it stopped
// at its growth bound.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "fuzz/desklet_harness.h"
#include "vorel/model/desklet.h"
#include "vorel/runtime/variable_expansion.h"
#include "vorel/util/text_routines.h"

namespace {

void CheckSplit(std::string_view text, char delimiter, uint8_t bits) {
  const vorel::SplitOptions options{true, (bits & 1) != 0, (bits & 2) != 0};
  const auto pieces = vorel::Split(text, delimiter, options);
  if (options.skipEmpty) return;
  std::string joined;
  for (size_t i = 0; i < pieces.size(); ++i) {
    if (i > 0) joined += delimiter;
    joined += pieces[i];
  }
  if (joined != text) std::abort();
}

void CheckReplace(std::string_view text) {
  // The rule is the text's first two short pieces split at '/'.
  const auto parts = vorel::Split(text, '/', {true, false, false});
  if (parts.size() < 3) return;
  const std::string& search = parts[0];
  const std::string& replacement = parts[1];
  const std::string_view subject = text.substr(search.size() + replacement.size() + 2);
  const std::string out = vorel::ReplaceAll(subject, search, replacement);
  if (search.empty() || replacement.find(search) != std::string::npos) return;
  if (out.size() < 4096 && out.find(search) != std::string::npos) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzing::Prepare();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const char delimiter = static_cast<char>(data[0]);
  const uint8_t bits = data[1];
  const std::string_view input(reinterpret_cast<const char*>(data) + 2, size - 2);
  CheckSplit(input, delimiter, bits);
  CheckReplace(input);

  fuzzing::FuzzDesklet desklet;
  size_t at = 0;
  while (at < input.size()) {
    const size_t end = std::min(input.find('\n', at), input.size());
    const std::string_view line = input.substr(at, end - at);
    at = end + 1;
    if (line.empty()) break;
    const size_t eq = line.find('=');
    auto p = std::make_shared<vorel::TParameter>();
    p->Name = std::string(line.substr(0, eq));
    p->Value = eq == std::string_view::npos ? "" : std::string(line.substr(eq + 1));
    desklet.D().parameters.push_back(std::move(p));
  }
  if (at < input.size()) vorel::ExpandVariables(desklet.D(), input.substr(at));
  return 0;
}
