// gdiplus::Bitmap storage, straight-alpha pixel access and loading through
// gdk-pixbuf.
#include "platform/gdiplus/bitmap.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <cstring>
#include <stdexcept>
#include <sys/stat.h>

#include "platform/gdiplus/pixel.h"

namespace gdiplus {

namespace {

// Cairo image surfaces address at most this many pixels in each direction.
constexpr int kMaxSide = 32767;

struct PixbufUnref {
  void operator()(GdkPixbuf* p) const { g_object_unref(p); }
};
using PixbufPtr = std::unique_ptr<GdkPixbuf, PixbufUnref>;

cairo_surface_t* CreateSurface(int width, int height) {
  if (width < 1 || height < 1) throw std::invalid_argument("bitmap size must be at least 1 by 1");
  if (int64_t{width} * height > kMaxBitmapPixels) throw BitmapTooLarge(width, height);
  if (width > kMaxSide || height > kMaxSide) throw std::invalid_argument("bitmap larger than 32767 pixels");
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    throw std::invalid_argument("cannot allocate a bitmap of that size");
  }
  return surface;
}

bool IsNonEmptyRegularFile(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0;
}

// Copies an 8-bit RGB or RGBA pixbuf into premultiplied ARGB32 words.
void CopyPixbuf(const GdkPixbuf* pixbuf, Bitmap& target) {
  const int channels = gdk_pixbuf_get_n_channels(pixbuf);
  const bool hasAlpha = gdk_pixbuf_get_has_alpha(pixbuf);
  const int rowstride = gdk_pixbuf_get_rowstride(pixbuf);
  const guint8* pixels = gdk_pixbuf_read_pixels(pixbuf);
  PixelAccess access(target);
  for (int y = 0; y < target.Height(); ++y) {
    const guint8* src = pixels + static_cast<ptrdiff_t>(y) * rowstride;
    uint32_t* dst = access.Row(y);
    for (int x = 0; x < target.Width(); ++x, src += channels) {
      uint32_t a = hasAlpha ? src[3] : 255;
      dst[x] = Premultiply(MakeArgb(a, src[0], src[1], src[2]));
    }
  }
}

}  // namespace

BitmapTooLarge::BitmapTooLarge(int64_t width, int64_t height)
    : std::invalid_argument("a picture of " + std::to_string(width) + " by " + std::to_string(height) +
                            " pixels is more than the " + std::to_string(kMaxBitmapPixels) + " one may have") {}

Bitmap::Bitmap(int width, int height) : Bitmap(CreateSurface(width, height)) {}

Bitmap::Bitmap(cairo_surface_t* adoptedSurface) : surface_(adoptedSurface) {
  if (surface_ == nullptr || cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS ||
      cairo_surface_get_type(surface_) != CAIRO_SURFACE_TYPE_IMAGE ||
      cairo_image_surface_get_format(surface_) != CAIRO_FORMAT_ARGB32) {
    if (surface_ != nullptr) cairo_surface_destroy(surface_);
    throw std::invalid_argument("bitmap needs an ARGB32 image surface");
  }
  data_ = cairo_image_surface_get_data(surface_);
  width_ = cairo_image_surface_get_width(surface_);
  height_ = cairo_image_surface_get_height(surface_);
  stride_ = cairo_image_surface_get_stride(surface_);
}

Bitmap::~Bitmap() { cairo_surface_destroy(surface_); }

std::unique_ptr<Bitmap> Bitmap::FromFile(const std::string& path) {
  // NOTE: gdk-pixbuf reports a zero-byte file as a generic failure at best;
  // checking first keeps its loaders away from files that cannot be images.
  if (!IsNonEmptyRegularFile(path)) return nullptr;
  int width = 0;
  int height = 0;
  if (gdk_pixbuf_get_file_info(path.c_str(), &width, &height) == nullptr) return nullptr;
  // Refuse sizes the surface cannot hold before decoding anything.
  if (int64_t{width} * height > kMaxBitmapPixels) throw BitmapTooLarge(width, height);
  if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide) return nullptr;

  GError* error = nullptr;
  PixbufPtr pixbuf(gdk_pixbuf_new_from_file(path.c_str(), &error));
  if (error != nullptr) {
    // A loader that reports an error may still hand back part of an image;
    // half a picture is not what the file holds.
    g_error_free(error);
    return nullptr;
  }
  if (!pixbuf) return nullptr;
  // Apply an EXIF orientation, as a photo viewer would.
  PixbufPtr oriented(gdk_pixbuf_apply_embedded_orientation(pixbuf.get()));
  const GdkPixbuf* source = oriented ? oriented.get() : pixbuf.get();
  if (gdk_pixbuf_get_colorspace(source) != GDK_COLORSPACE_RGB || gdk_pixbuf_get_bits_per_sample(source) != 8) {
    return nullptr;
  }
  const int channels = gdk_pixbuf_get_n_channels(source);
  if (channels != (gdk_pixbuf_get_has_alpha(source) ? 4 : 3)) return nullptr;
  width = gdk_pixbuf_get_width(source);
  height = gdk_pixbuf_get_height(source);
  if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide) return nullptr;

  try {
    auto bitmap = std::make_unique<Bitmap>(width, height);
    CopyPixbuf(source, *bitmap);
    return bitmap;
  } catch (const std::invalid_argument&) {
    return nullptr;
  }
}

std::unique_ptr<Bitmap> Bitmap::Clone() const {
  auto copy = std::make_unique<Bitmap>(width_, height_);
  cairo_surface_flush(surface_);
  for (int y = 0; y < height_; ++y) {
    std::memcpy(copy->Row(y), Row(y), static_cast<size_t>(width_) * 4);
  }
  cairo_surface_mark_dirty(copy->surface_);
  return copy;
}

ARGB Bitmap::GetPixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  cairo_surface_flush(surface_);
  return Unpremultiply(Row(y)[x]);
}

void Bitmap::SetPixel(int x, int y, ARGB argb) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  cairo_surface_flush(surface_);
  Row(y)[x] = Premultiply(argb);
  cairo_surface_mark_dirty_rectangle(surface_, x, y, 1, 1);
}

PixelAccess::PixelAccess(Bitmap& bitmap) : bitmap_(bitmap) { cairo_surface_flush(bitmap_.Surface()); }

PixelAccess::~PixelAccess() { cairo_surface_mark_dirty(bitmap_.Surface()); }

}  // namespace gdiplus
