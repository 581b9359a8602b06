#include "test_images.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <fstream>

namespace gdiplus_test {

InkBox FindInk(const gdiplus::Bitmap& bitmap, uint32_t minAlpha) {
  InkBox box{bitmap.Width(), bitmap.Height(), 0, 0};
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) {
      if ((bitmap.GetPixel(x, y) >> 24) > minAlpha) {
        box.left = std::min(box.left, x);
        box.top = std::min(box.top, y);
        box.right = std::max(box.right, x + 1);
        box.bottom = std::max(box.bottom, y + 1);
      }
    }
  }
  if (box.right == 0) return {};
  return box;
}

bool SaveWithPixbuf(const std::string& path, const std::string& type, int width, int height, bool withAlpha,
                    const std::function<uint32_t(int, int)>& pixel) {
  GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, withAlpha, 8, width, height);
  if (pixbuf == nullptr) return false;
  const int channels = gdk_pixbuf_get_n_channels(pixbuf);
  const int stride = gdk_pixbuf_get_rowstride(pixbuf);
  guint8* data = gdk_pixbuf_get_pixels(pixbuf);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const uint32_t argb = pixel(x, y);
      guint8* p = data + y * stride + x * channels;
      p[0] = static_cast<guint8>(argb >> 16);
      p[1] = static_cast<guint8>(argb >> 8);
      p[2] = static_cast<guint8>(argb);
      if (withAlpha) p[3] = static_cast<guint8>(argb >> 24);
    }
  }
  GError* error = nullptr;
  const char* keys[] = {"quality", nullptr};
  const char* values[] = {"100", nullptr};
  const bool isJpeg = type == "jpeg";
  gboolean saved = gdk_pixbuf_savev(pixbuf, path.c_str(), type.c_str(), isJpeg ? const_cast<char**>(keys) : nullptr,
                                    isJpeg ? const_cast<char**>(values) : nullptr, &error);
  if (error != nullptr) g_error_free(error);
  g_object_unref(pixbuf);
  return saved;
}

namespace {

// LSB-first bit packer for GIF's LZW stream.
class BitWriter {
 public:
  void Put(unsigned code, int bits) {
    buffer_ |= code << count_;
    count_ += bits;
    while (count_ >= 8) {
      bytes.push_back(static_cast<uint8_t>(buffer_ & 0xFF));
      buffer_ >>= 8;
      count_ -= 8;
    }
  }
  void Finish() {
    if (count_ > 0) bytes.push_back(static_cast<uint8_t>(buffer_ & 0xFF));
  }
  std::vector<uint8_t> bytes;

 private:
  unsigned buffer_ = 0;
  int count_ = 0;
};

}  // namespace

bool WriteGif(const std::string& path, int width, int height, const std::vector<uint32_t>& palette,
              const std::vector<uint8_t>& indices, int transparentIndex) {
  if (palette.empty() || palette.size() > 128 || indices.size() != static_cast<size_t>(width) * height) return false;
  std::vector<uint8_t> out = {'G', 'I', 'F', '8', '9', 'a'};
  auto put16 = [&out](int v) {
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
  };
  put16(width);
  put16(height);
  out.push_back(0xF6);  // global colour table of 128 entries
  out.push_back(0);
  out.push_back(0);
  for (size_t i = 0; i < 128; ++i) {
    const uint32_t c = i < palette.size() ? palette[i] : 0;
    out.push_back(static_cast<uint8_t>(c >> 16));
    out.push_back(static_cast<uint8_t>(c >> 8));
    out.push_back(static_cast<uint8_t>(c));
  }
  if (transparentIndex >= 0) {
    out.insert(out.end(), {0x21, 0xF9, 0x04, 0x01, 0x00, 0x00, static_cast<uint8_t>(transparentIndex), 0x00});
  }
  out.push_back(0x2C);
  put16(0);
  put16(0);
  put16(width);
  put16(height);
  out.push_back(0);
  // Codes stay 8 bits wide: minimum code size 7 and a clear code before the
  // dictionary could grow past 255 entries, so every pixel is a literal.
  constexpr unsigned kClear = 128;
  constexpr unsigned kEnd = 129;
  out.push_back(7);
  BitWriter bits;
  int sinceClear = 0;
  bits.Put(kClear, 8);
  for (uint8_t index : indices) {
    if (sinceClear == 120) {
      bits.Put(kClear, 8);
      sinceClear = 0;
    }
    bits.Put(index, 8);
    ++sinceClear;
  }
  bits.Put(kEnd, 8);
  bits.Finish();
  for (size_t i = 0; i < bits.bytes.size(); i += 255) {
    const size_t n = std::min<size_t>(255, bits.bytes.size() - i);
    out.push_back(static_cast<uint8_t>(n));
    out.insert(out.end(), bits.bytes.begin() + static_cast<ptrdiff_t>(i),
               bits.bytes.begin() + static_cast<ptrdiff_t>(i + n));
  }
  out.push_back(0);
  out.push_back(0x3B);
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
  return static_cast<bool>(file);
}

}  // namespace gdiplus_test
