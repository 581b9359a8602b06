// gdiplus::Bitmap: a 32-bit ARGB picture held in a cairo image surface
// (CAIRO_FORMAT_ARGB32, premultiplied, native-endian 0xAARRGGBB words).
// This is what the rendering code draws into, scales, masks and recolours,
// and what the host's image library shows: Surface() is the storage itself,
// so a reference taken on it sees every later change without a copy.
//
// Two ways to reach the pixels:
//   - GetPixel/SetPixel speak straight (not premultiplied) 0xAARRGGBB, like
//     GDI+; convenient and bounds-checked, not for loops over whole images.
//   - PixelAccess (scoped) gives premultiplied rows for fast loops; use the
//     Premultiply/Unpremultiply helpers of pixel.h to convert.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

namespace gdiplus {

using ARGB = uint32_t;

// The most pixels one bitmap may have, 8192 by 8192 (256 MiB): room for
// the photos of any camera, while a picture asking for more (a 16-bit size
// allows 32767 by 32767, four gigabytes) is refused before any memory is
// taken or any time spent on it.
inline constexpr int64_t kMaxBitmapPixels = int64_t{8192} * 8192;

// A bitmap, or a picture in a file, larger than kMaxBitmapPixels.
class BitmapTooLarge : public std::invalid_argument {
 public:
  BitmapTooLarge(int64_t width, int64_t height);
};

class Bitmap {
 public:
  // A fully transparent width by height bitmap. Throws std::invalid_argument
  // for a size below 1 or one that cairo cannot allocate (image surfaces stop
  // at 32767 in each direction), BitmapTooLarge above kMaxBitmapPixels.
  Bitmap(int width, int height);
  // Takes over one reference of an ARGB32 image surface in a good state.
  explicit Bitmap(cairo_surface_t* adoptedSurface);
  ~Bitmap();

  Bitmap(const Bitmap&) = delete;
  Bitmap& operator=(const Bitmap&) = delete;

  // Loads PNG, JPEG, GIF (first frame), BMP, ICO and whatever else
  // gdk-pixbuf reads. Null when the file is missing, empty, corrupt, not an
  // image, or larger than a cairo image surface can hold (over 32767 pixels
  // in either direction). Throws BitmapTooLarge, before decoding, for a
  // picture of more than kMaxBitmapPixels.
  static std::unique_ptr<Bitmap> FromFile(const std::string& path);

  // A deep copy with its own storage.
  std::unique_ptr<Bitmap> Clone() const;

  int Width() const { return width_; }
  int Height() const { return height_; }

  // Straight-alpha 0xAARRGGBB. GetPixel outside the bitmap gives 0; SetPixel
  // outside does nothing. Colour under alpha 0 is not kept (premultiplied
  // storage), so such a pixel reads back as 0.
  ARGB GetPixel(int x, int y) const;
  void SetPixel(int x, int y, ARGB argb);

  // The storage; the bitmap keeps its own reference for its lifetime.
  cairo_surface_t* Surface() const { return surface_; }

  // Premultiplied row access without the scoped flush/dirty bookkeeping;
  // prefer PixelAccess. Row(y) is not bounds-checked.
  uint32_t* Row(int y) { return reinterpret_cast<uint32_t*>(data_ + static_cast<ptrdiff_t>(y) * stride_); }
  const uint32_t* Row(int y) const {
    return reinterpret_cast<const uint32_t*>(data_ + static_cast<ptrdiff_t>(y) * stride_);
  }
  // Bytes from one row to the next.
  int Stride() const { return stride_; }

 private:
  cairo_surface_t* surface_ = nullptr;
  unsigned char* data_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  int stride_ = 0;
};

// Scoped direct access to a bitmap's premultiplied pixels: flushes cairo's
// pending drawing on entry and marks the surface dirty on exit, so drawing
// and pixel loops can be mixed freely.
class PixelAccess {
 public:
  explicit PixelAccess(Bitmap& bitmap);
  ~PixelAccess();
  PixelAccess(const PixelAccess&) = delete;
  PixelAccess& operator=(const PixelAccess&) = delete;

  int Width() const { return bitmap_.Width(); }
  int Height() const { return bitmap_.Height(); }
  uint32_t* Row(int y) { return bitmap_.Row(y); }

 private:
  Bitmap& bitmap_;
};

}  // namespace gdiplus
