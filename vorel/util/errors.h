// The plug-in's failures. Everything inside raises KivError with one of the
// fixed texts below (or a text built by one of the formatters); the export
// bodies and the script members catch them at the boundary.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace vorel {

class KivError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

namespace errors {
inline constexpr const char* kConstructorPre = "constructor: pre condition not met";
inline constexpr const char* kConstructorInvariant = "constructor: Invariant does not hold.";
inline constexpr const char* kReadFromIniInvariant = "readFromIni: Invariant does not hold.";
inline constexpr const char* kSaveToIniInvariant = "saveToIni: Invariant does not hold.";
inline constexpr const char* kRangeCheck = "Range check error";
inline constexpr const char* kIntegerOverflow = "Integer overflow";
inline constexpr const char* kImageLibraryOutdated =
    "kivimg.dll is outdated.  Please make sure you got the latest version.";
inline constexpr const char* kNotImplemented = "not implemented";
// A formula that does not parse; the only text a parse failure gives.
inline constexpr const char* kFormulaError = "Error in Formula";
// Evaluation failures of a formula that did parse (or of none that did).
inline constexpr const char* kFormulaNotParsed = "Formula: no valid formula to calculate";
inline constexpr const char* kFormulaUnknownVariable = "Formula: unknown variable";
inline constexpr const char* kFormulaNoValue = "Formula: no value given for variable ";
inline constexpr const char* kFormulaDivisionByZero = "Formula: division by zero";
inline constexpr const char* kFormulaOutsideDomain = "Formula: argument outside the domain of ";
inline constexpr const char* kFormulaNotFinite = "Formula: result is not a finite number";
}  // namespace errors

// "function NAME not found", or "procedure NAME not found" for the host
// functions that were optional in older hosts.
std::string HostFunctionNotFound(const std::string& name);
// "'TEXT' is not a valid integer value".
std::string NotAnInteger(const std::string& text);
// The value as a 16-bit field; raises "Range check error" beyond it.
int16_t CheckedInt16(int64_t value);
// The value as an unsigned 32-bit field; raises "Range check error" for a
// negative one (or one beyond 32 bits).
uint32_t CheckedUInt32(int64_t value);

// "NAME: not implemented" for a member whose machinery is not there yet.
[[noreturn]] void NotImplemented(const std::string& what);

}  // namespace vorel
