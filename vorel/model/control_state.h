// TControlState: the controls the host's control library made for the
// desklet, with the library's container and resources. Only the control
// reader and the controls collection change it.
#pragma once

#include <memory>
#include <vector>

#include "platform/abi/kiv_types.h"
#include "vorel/model/control_record.h"

namespace vorel {

struct TControlState {
  std::vector<std::unique_ptr<TControlObject>> controls;
  KivHandle controlResources = 0;
  KivHandle controlContainer = 0;
};

}  // namespace vorel
