#include "vorel/runtime/render_layer.h"

#include <memory>
#include <optional>

#include "platform/util/text.h"
#include "vorel/model/desklet.h"
#include "vorel/host/host_api.h"
#include "vorel/host/image_library.h"
#include "vorel/runtime/image_ops.h"
#include "vorel/runtime/kiv_gp_bitmap.h"
#include "vorel/runtime/layer_source.h"
#include "vorel/runtime/pixel_limits.h"
#include "vorel/runtime/side_layout.h"
#include "vorel/runtime/source_transforms.h"
#include "vorel/runtime/variable_expansion.h"
#include "vorel/util/errors.h"

namespace vorel {

namespace {

constexpr std::string_view kHighlightMarker = "!HIGHLIGHT";
constexpr int32_t kHighlightSaturation = 300;
constexpr int32_t kNormalSaturation = 100;

const std::string& ChosenSource(const TLayerObject& layer, TLook look) {
  if (look == TLook::Pressed || layer.Has(Down)) return layer.DSrc;
  if (look == TLook::Hover) return layer.MSrc;
  return layer.Src;
}

// Whether an image of this size may become the layer's; when not, the
// reason goes into the error log.
bool AllowedSize(TDeskletObject& d, const TLayerObject& layer, int64_t width, int64_t height,
                    const std::string& source) {
  std::optional<std::string> problem = PixelLimitProblem(d, layer, width, height);
  if (problem) d.errorLog.Report(std::make_exception_ptr(KivError(*problem)), source);
  return !problem;
}

}  // namespace

void RenderLayer(TDeskletObject& d, TLayerObject& layer, TLook look, bool place, bool invalidate) {
  const HWND hwnd = d.windowHandle;
  std::string source = ChosenSource(layer, look);
  bool highlight = false;
  if (kiv::StartsWith(source, kHighlightMarker)) {
    highlight = true;
    source.clear();
  }
  if (source.empty()) {
    if (highlight) host::DeskletLayerSetSaturation(hwnd, layer.Id, true, kHighlightSaturation);
    return;
  }

  // A script source may add or delete layers, this one included: once it
  // is gone there is nothing left to draw.
  const std::weak_ptr<const char> alive = layer.lifetime;
  source = ExpandVariables(d, source);
  source = ApplyScriptSource(d, source);
  if (alive.expired()) return;
  source = ApplyXmlSource(d, source);
  source = ApplyTextFileSource(d, source);
  // NOTE: a layer of a given size is drawn at that size (text) or has its
  // picture scaled to it, so the size is refused before anything is drawn;
  // otherwise (no size, auto-size, a clipped picture) the picture keeps
  // its own size, known once drawn.
  const std::array<int32_t, 4> clip = layer.ClipSource;
  const bool clipped = clip[0] != clip[2] && clip[1] != clip[3];
  const bool unclipped = clip[0] == clip[2] && clip[1] == clip[3];
  const bool sized = layer.Width >= 1 && layer.Height >= 1 && !layer.Has(AutoSize);
  if (sized && !AllowedSize(d, layer, layer.Width, layer.Height, source)) return;
  std::unique_ptr<gdiplus::Bitmap> image = RenderLayerSource(d, layer, source);
  DrawChildLayers(d, layer, image);
  if (alive.expired() || !image) return;
  if (!(sized && unclipped) && !AllowedSize(d, layer, image->Width(), image->Height(), source)) return;

  KivRect placement{layer.X, layer.Y, 0, 0};
  if (layer.Has(AutoSize)) layer.Width = layer.Height = 0;
  if (layer.Width < 1 || layer.Height < 1 || (image->Width() == layer.Width && image->Height() == layer.Height)) {
    layer.Width = CheckedInt16(image->Width());
    layer.Height = CheckedInt16(image->Height());
  } else if (unclipped) {
    image = ScaleIntoLayer(*image, layer.Width, layer.Height, layer.Flags);
  }
  layer.ImageWidth = CheckedInt16(image->Width());
  layer.ImageHeight = CheckedInt16(image->Height());
  placement.right = placement.left + layer.Width;
  placement.bottom = placement.top + layer.Height;

  host::DeskletLayerSetVisibility(hwnd, layer.Id, false, layer.Has(Visible) && layer.LayerSide == d.sideState.activeSide);
  if (place) {
    const KivSize side = SideSize(d, layer.LayerSide);
    host::DeskletLayerSetPlacement(hwnd, layer.Id, false, true, placement, side.cx, side.cy);
  }
  host::DeskletLayerSetAlpha(hwnd, layer.Id, false, layer.Alpha);
  if (look == TLook::Normal) host::DeskletLayerSetSaturation(hwnd, layer.Id, false, kNormalSaturation);
  if (layer.ImageColor != kNoImageColor) Recolor(*image, layer.ImageColor);

  const int32_t imageWidth = image->Width(), imageHeight = image->Height();
  // NOTE: without a current image library the host cannot take images;
  // the check warns once per process and the layer keeps its old image.
  TKivGPBitmap handover(std::move(image));
  if (ImageLibrary::Instance().CheckVersion()) {
    if (const KivHandle handle = handover.Handle()) {
      host::DeskletLayerSetImage(hwnd, layer.Id, false, handle, true);
      handover.ReleaseHandle();
    }
  }

  if (clipped) {
    std::optional<host::InvalidatingLock> lock;
    if (!d.updatesLocked) lock.emplace(hwnd);
    host::DeskletLayerSetImageClipRect(hwnd, layer.Id, false, true, KivRect{clip[0], clip[1], clip[2], clip[3]},
                                       imageWidth, imageHeight);
  }
  if (invalidate)
    host::DeskletInvalidateRect(hwnd, placement, KivSize{layer.Width, layer.Height}, !d.updatesLocked);
}

}  // namespace vorel
