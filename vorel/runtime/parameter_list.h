// Adding parameters while the desklet runs, as the parameters collection
// of the scripts does it.
#pragma once

#include <memory>
#include <string>

namespace vorel {

class TDeskletObject;
struct TParameter;

// Sets the first parameter of that name (names compare exactly), or a new
// one appended, to the value and the update statement, not saved with the
// settings. Null, and nothing changed, when the name or the value is empty.
std::shared_ptr<TParameter> AddParameter(TDeskletObject& desklet, const std::string& name, const std::string& value,
                                         const std::string& onUpdate);

}  // namespace vorel
