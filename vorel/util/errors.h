// The plug-in's failures. Everything inside raises KivError with one of the
// fixed texts below (or a text built by one of the formatters); the export
// bodies and the script members catch them at the boundary.
#pragma once

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
}  // namespace errors

// "function NAME not found", or "procedure NAME not found" for the host
// functions that were optional in older hosts.
std::string HostFunctionNotFound(const std::string& name);
// "'TEXT' is not a valid integer value".
std::string NotAnInteger(const std::string& text);
// "NAME: not implemented" for a member whose machinery is not there yet.
[[noreturn]] void NotImplemented(const std::string& what);

}  // namespace vorel
