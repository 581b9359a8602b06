#include "vorel/runtime/source_transforms.h"

#include <vector>

#include "platform/util/text.h"
#include "platform/xml/document.h"
#include "vorel/model/desklet.h"
#include "vorel/runtime/data_fetch.h"
#include "vorel/runtime/layer_source.h"
#include "vorel/runtime/xml_transform.h"
#include "vorel/model/script_engine.h"
#include "vorel/skin/skin_reading.h"
#include "vorel/util/errors.h"
#include "vorel/util/paths.h"
#include "vorel/util/text_routines.h"

namespace vorel {

namespace {

constexpr std::string_view kScriptMarker = "!SCRIPT:";
constexpr std::string_view kTextFileMarker = "!TXTFILE:";

// The marker's field and the whole rest: "!XML:0[/a:b]" gives "!XML" and
// "0[/a:b]".
std::vector<std::string> MarkerFields(const std::string& source) {
  return Split(source, ':', {.clearFirst = true, .skipEmpty = true, .atFirstOnly = true});
}

}  // namespace

std::string ApplyScriptSource(TDeskletObject& desklet, const std::string& source) {
  if (source.find(kScriptMarker) == std::string::npos) return source;
  const std::string expression = source.size() > kScriptMarker.size() ? source.substr(kScriptMarker.size()) : "";
  if (!desklet.scripting.scriptEngine) return "";
  return desklet.scripting.scriptEngine->EvaluateToText(expression);
}

std::string LookUpXmlReference(TDeskletObject& desklet, const std::string& reference, bool transforming,
                               const std::string& joiner) {
  const size_t open = reference.find('[');
  int32_t index = 0;
  if (open != 0) {
    const std::string head = open == std::string::npos ? reference : reference.substr(0, open);
    index = ReadInt(head);
  }

  std::string separator = joiner, cut, result;
  int32_t limit = 0;
  size_t pos = open;
  while (pos != std::string::npos && pos < reference.size()) {
    const size_t close = reference.find(']', pos + 1);
    if (close == std::string::npos) break;
    const std::string segment = reference.substr(pos + 1, close - pos - 1);
    pos = reference.find('[', close + 1);

    if (kiv::StartsWith(segment, "'")) {
      const size_t end = segment.find('\'', 1);
      result += segment.substr(1, end == std::string::npos ? std::string::npos : end - 1);
    } else if (kiv::StartsWith(segment, "!s") && segment.size() > 2) {
      separator = segment.substr(2, 1);
    } else if (kiv::StartsWith(segment, "!c") && segment.size() > 2) {
      limit = ReadInt(segment.substr(2));
    } else if (kiv::StartsWith(segment, "!d") && segment.size() > 2) {
      cut = segment.substr(2);
    } else if (index >= 0 && static_cast<size_t>(index) < desklet.data.xmlSources.size()) {
      EnsureSourceLoaded(desklet, static_cast<size_t>(index));
      const std::shared_ptr<xml::Document> document = desklet.data.DocumentOf(static_cast<size_t>(index));
      if (!document) continue;
      if (transforming) result += TransformXML(*document, segment, desklet.settings.resourcePath);
      else if (!document->IsEmpty()) result += GetNodeText(document->DocumentNode(), segment, separator, "");
    }
  }

  if (!cut.empty()) {
    const size_t at = result.find(cut, 1);
    if (at != std::string::npos) result.resize(at);
  }
  if (limit > 0 && result.size() > static_cast<size_t>(limit)) result.resize(static_cast<size_t>(limit));
  return result;
}

std::string ApplyXmlSource(TDeskletObject& desklet, const std::string& source) {
  if (!kiv::StartsWith(source, "!XML")) return source;
  const std::vector<std::string> fields = MarkerFields(source);
  if (fields.size() < 2) return "";
  const std::string& kind = fields[0];
  const bool transforming = kiv::StartsWith(kind, "!XMLTRANS");
  const bool text = kiv::StartsWith(kind, "!XMLTXT") || kiv::StartsWith(kind, "!XMLTRANSTXT");
  const std::string found = LookUpXmlReference(desklet, fields[1], transforming);
  return text ? std::string(kTextMarker) + found : found;
}

std::string ApplyTextFileSource(TDeskletObject& desklet, const std::string& source) {
  const size_t marker = source.find(kTextFileMarker);
  if (marker == std::string::npos) return source;
  const std::vector<std::string> fields = MarkerFields(source);
  const std::vector<std::string> parts =
      Split(fields.size() > 1 ? fields[1] : "", '|', {.clearFirst = true, .skipEmpty = true});
  if (parts.empty()) return std::string(kTextMarker);

  const std::string path = ResolveSkinFile(desklet.settings.resourcePath, parts[0]);
  std::vector<std::string> lines;
  if (FileExists(path)) {
    const std::string content = ReadWholeFile(path);
    size_t start = 0;
    while (start < content.size()) {
      size_t end = content.find('\n', start);
      if (end == std::string::npos) end = content.size();
      std::string line = content.substr(start, end - start);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(std::move(line));
      start = end + 1;
    }
  }

  std::string text;
  if (parts.size() < 2) {
    for (const std::string& line : lines) text += line + kCrLf;
    return std::string(kTextMarker) + text;
  }
  const int32_t first = IntDef(parts[1], 0);
  int32_t count = parts.size() > 2 ? IntDef(parts[2], -1) : -1;
  const int32_t n = static_cast<int32_t>(lines.size());
  // NOTE: the file's last line is never part of a ranged read; a negative
  // first line reads nothing rather than reaching before the file.
  if (first < 0 || first >= n - 1) return std::string(kTextMarker);
  // Only -1 means "as many as possible"; any other negative count is an
  // empty range, not a request for everything.
  if (count == -1 || count > n - 1 - first) count = n - 1 - first;
  for (int32_t i = first; i < first + count; ++i) text += lines[static_cast<size_t>(i)] + kCrLf;
  // The trim covers the marker too, so the first line keeps its leading
  // blanks: only the final line break goes.
  return kiv::Trim(std::string(kTextMarker) + text);
}

}  // namespace vorel
