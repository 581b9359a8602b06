// ImageCache: the pictures of one image button, loaded from the control
// resources folder once and kept until the button's base name or folder
// changes. For base name B the files are B.png (normal), B_hover.png and
// B_down.png; a missing hover or pressed picture falls back to the normal
// one, a missing normal picture leaves the button to be drawn plainly.
#pragma once

#include <string>

#include "kivhost/controls/graphics.h"

namespace kivcontrols {

class ImageCache {
 public:
  enum class State { Normal, Hover, Down };

  // The picture for the state, or null when there is none; loads the
  // pictures of `folder` + `base` when they are not the ones held.
  cairo_surface_t* Get(const std::string& folder, const std::string& base, State state);

 private:
  void Load(const std::string& folder, const std::string& base);

  std::string key_;
  bool loaded_ = false;
  SurfacePtr normal_, hover_, down_;
};

// folder + name with exactly one "/" between them ("" folder: name alone).
std::string JoinPath(const std::string& folder, const std::string& name);

}  // namespace kivcontrols
