// A skin parameter: a named text value that expands in statements and
// attributes, may be saved with the desklet's settings, and may carry a
// statement run when it changes.
#pragma once

#include <string>

namespace vorel {

struct TParameter {
  std::string Name;
  std::string Value;
  bool Persist = false;  // written back with the desklet's settings
  std::string OnUpdate;
};

}  // namespace vorel
