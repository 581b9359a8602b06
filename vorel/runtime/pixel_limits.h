// How many pixels a skin may have drawn: one layer's image, and the images
// of all the layers of one desklet together. Sizes in a skin are 16-bit,
// so a layer may ask for 32767 by 32767 pixels, four gigabytes that take
// minutes to clear and hand over; a skin asking for more than these limits
// gets an error in its log instead and the layer keeps the image it had.
//
// The desklet's window is no larger than one layer may be: the host draws
// the whole desklet into a picture of the window's size.
//
// 4096 by 4096 pixels is two screens of 4K each way; a desklet holds four
// such layers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vorel {

class TDeskletObject;
struct TLayerObject;

inline constexpr int64_t kMaxLayerPixels = int64_t{4096} * 4096;
inline constexpr int64_t kMaxDeskletPixels = 4 * kMaxLayerPixels;
inline constexpr int64_t kMaxWindowPixels = kMaxLayerPixels;

// Why an image of width by height pixels may not become the layer's, or
// nullopt when it may: the layer's own limit, and the desklet's with the
// other layers' images as they are.
std::optional<std::string> PixelLimitProblem(const TDeskletObject& desklet, const TLayerObject& layer, int64_t width,
                                             int64_t height);

// Why the desklet's window may not be width by height pixels, or nullopt
// when it may.
std::optional<std::string> WindowSizeProblem(int64_t width, int64_t height);

}  // namespace vorel
