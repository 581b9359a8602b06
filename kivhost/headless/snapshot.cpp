#include "kivhost/headless/snapshot.h"

#include <memory>
#include <stdexcept>

#include "kivhost/render/compositor.h"

namespace kivhost {

void WriteSnapshot(Host& host, const std::string& path) {
  auto desklets = host.Desklets();
  if (desklets.empty()) throw std::runtime_error("no desklet to take a snapshot of");
  HostDesklet& d = *desklets.front();
  std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> surface(RenderDesklet(d, host.DeskletImage(d)),
                                                                              cairo_surface_destroy);
  if (cairo_surface_write_to_png(surface.get(), path.c_str()) != CAIRO_STATUS_SUCCESS)
    throw std::runtime_error("cannot write the snapshot " + path);
}

}  // namespace kivhost
