// What `kivhost --list`, `--add SKIN`, `--remove N` and `--list-skins` say to the kivhost
// that runs the desktop's desklets, and where they find it: a Unix socket
// named after the desklet list it keeps, so that only one kivhost shows
// one list. A request is one line ("list", "add PATH", "remove N",
// "skins"); the
// answer is lines of text ending with "ok" or "error: WHY".
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace kivhost {

struct ManagerRequest {
  enum class Kind { List, Add, Remove, Skins };
  Kind kind = Kind::List;
  // Add: a skin file, or the key of a skin the plug-in offers; Remove: the
  // desklet's number.
  std::string argument;
};

class ManagerError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The socket of the kivhost keeping `listFile`: in $XDG_RUNTIME_DIR, else
// in the temporary folder under the user's id.
std::string ManagerSocketPath(const std::string& listFile);

std::string FormatRequest(const ManagerRequest& request);
// Throws ManagerError for a line that is no request.
ManagerRequest ParseRequest(std::string_view line);

}  // namespace kivhost
