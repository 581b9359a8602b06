#include "vorel/runtime/parameter_list.h"

#include "vorel/model/desklet.h"

namespace vorel {

std::shared_ptr<TParameter> AddParameter(TDeskletObject& d, const std::string& name, const std::string& value,
                                         const std::string& onUpdate) {
  if (name.empty() || value.empty()) return nullptr;
  std::shared_ptr<TParameter> parameter;
  for (const auto& p : d.parameters)
    if (p->Name == name) {
      parameter = p;
      break;
    }
  if (!parameter) {
    parameter = std::make_shared<TParameter>();
    d.parameters.push_back(parameter);
  }
  parameter->Name = name;
  parameter->Value = value;
  parameter->OnUpdate = onUpdate;
  parameter->Persist = false;
  return parameter;
}

}  // namespace vorel
