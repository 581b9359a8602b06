// The skin-information record handed to the host's DeskletSetSkinInfoW:
// the host's 44-field layout, with the wide texts it points to owned here.
#pragma once

#include <memory>
#include <string>

#include "platform/abi/desklet_api.h"

namespace vorel {

class TSkinInfo {
 public:
  TSkinInfo(const std::string& key, const std::string& name, const std::string& author, const std::string& notes,
            uint32_t version);
  TSkinInfo(const TSkinInfo&) = delete;
  TSkinInfo& operator=(const TSkinInfo&) = delete;

  SkinInfoRecord* Record() { return &record_; }

 private:
  std::u16string key_, name_, author_, notes_;
  SkinInfoRecord record_{};
};

}  // namespace vorel
