// Reads the text between the #s of a VBScript date literal (#1/2/2003#,
// #2003-01-02 10:00#, #10:30:15 PM#) into a Date, days since 1899-12-30.
// The forms are the ones scripts write as literals: M/D/YYYY (also with
// "-" and two-digit years), YYYY-MM-DD or YYYY/MM/DD, each optionally
// followed by a time H:MM[:SS] [AM|PM]; a time alone lies on day 0.
#pragma once

#include <optional>
#include <string_view>

#include "platform/automation/variant.h"

namespace scriptcontrol::vbscript {

// Nothing when the text is no date or names a day that does not exist.
std::optional<automation::Date> ReadDateLiteral(std::string_view text);

}  // namespace scriptcontrol::vbscript
