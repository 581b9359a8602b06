#include "kivhost/controls/image_cache.h"

#include <cstdio>
#include <filesystem>

namespace kivcontrols {
namespace {

// A PNG file as a cairo surface; null when the file is absent. A file that
// is there but does not load is reported, since a skin author wants to know.
SurfacePtr LoadPng(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return nullptr;
  SurfacePtr surface(cairo_image_surface_create_from_png(path.c_str()));
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) {
    std::fprintf(stderr, "KivControls: cannot load the button image %s: %s\n", path.c_str(),
                 cairo_status_to_string(cairo_surface_status(surface.get())));
    return nullptr;
  }
  return surface;
}

}  // namespace

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  return folder.back() == '/' ? folder + name : folder + "/" + name;
}

void ImageCache::Load(const std::string& folder, const std::string& base) {
  key_ = JoinPath(folder, base);
  loaded_ = true;
  normal_ = LoadPng(key_ + ".png");
  hover_ = LoadPng(key_ + "_hover.png");
  down_ = LoadPng(key_ + "_down.png");
}

cairo_surface_t* ImageCache::Get(const std::string& folder, const std::string& base, State state) {
  if (!loaded_ || key_ != JoinPath(folder, base)) Load(folder, base);
  if (!normal_) return nullptr;
  if (state == State::Hover && hover_) return hover_.get();
  if (state == State::Down && down_) return down_.get();
  return normal_.get();
}

}  // namespace kivcontrols
