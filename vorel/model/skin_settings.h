// TSkinSettings: the desklet-level settings of the skin: where the skin
// and its resources are, the desklet's event statements, the credentials
// of its data sources and a few timings. The skin loader writes them; the
// main object's statement properties change the statements at run time.
#pragma once

#include <cstdint>
#include <string>

namespace vorel {

struct TSkinSettings {
  std::string skinName;
  std::string skinPath;
  std::string resourcePath;
  std::string controlPath;
  std::string onKeyPress, onCreate, onDestroy, onBeforeFlip, onAfterFlip, onDropFile, onMouseEnter, onMouseExit,
      onMouseMove, onMouseScroll, onSelect, onDeselect;
  std::string userName, password, proxy;
  bool useOwnTemp = true;
  int32_t keyPressAnim = 100;
  uint8_t initialSide = 0;
};

}  // namespace vorel
