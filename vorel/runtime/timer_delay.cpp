#include "vorel/runtime/timer_delay.h"

#include "platform/util/text.h"
#include "vorel/runtime/source_transforms.h"
#include "vorel/runtime/variable_expansion.h"
#include "vorel/skin/skin_reading.h"
#include "vorel/util/date_time.h"
#include "vorel/util/errors.h"

namespace vorel {

TTimerDelay ParseTimerDelay(TDeskletObject& desklet, const std::string& delay) {
  TTimerDelay result;
  if (delay.empty()) return result;
  std::string text = ApplyScriptSource(desklet, ExpandVariables(desklet, delay));
  if (kiv::StartsWith(text, "!XML")) {
    const size_t colon = text.find(':');
    text = colon == std::string::npos ? "" : LookUpXmlReference(desklet, text.substr(colon + 1), false);
    if (text.empty()) return result;
  }
  if (LooksLikeDateOrTime(text)) {
    const TDayAndTime when = SplitDateTime(ReadDateTime(text));
    result.date = when.day;
    result.seconds = when.SecondsOfDay();
  } else {
    result.seconds = ReadInt(text);
  }
  return result;
}

uint32_t ReadTimerMilliseconds(TDeskletObject& desklet, const std::string& delay) {
  const int32_t value = ReadInt(ExpandVariables(desklet, delay));
  if (value < 0) throw KivError(errors::kRangeCheck);
  return static_cast<uint32_t>(value);
}

}  // namespace vorel
