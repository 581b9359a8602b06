// The record of one skin layer and of its child layers. The desklet owns
// the records in its layer list, in document order, which is also the
// drawing order; child layers have no host layer and are drawn into their
// parent's image.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vorel {

// Bits of TLayerObject::Flags.
enum LayerFlags : uint16_t {
  Visible = 1,
  Down = 2,  // held in its pressed look; set at run time only
  Scale = 4,
  AutoSize = 8,
  CenterSrc = 32,
  ScaleProportional = 64,
  TextResize = 128,
  FullHitTest = 256,
};

// Cursor value of a layer without a cursor of its own.
constexpr uint16_t kNoCursor = 65535;
// ImageColor value that leaves an image's colours alone.
constexpr uint32_t kNoImageColor = 0x1FFFFFFF;

struct TChildLayer {
  std::string Name;
  std::string Src;
  std::string FontName = "Arial";
  uint32_t FontColor = 0;
  int16_t FontSize = 8;
  uint8_t FontStyle = 0;
  uint8_t FontAlign = 0;
  int16_t X = 0, Y = 0, Width = 0, Height = 0, OffSetX = 0, OffSetY = 0;
  uint8_t Alpha = 255;
};

struct TLayerObject {
  uint32_t Id = 0;
  std::string Name;
  std::string Src;
  std::string DSrc;
  std::string MSrc;
  std::string Data;
  std::string OnClick;
  std::string OnMouseEnter;
  std::string OnMouseExit;
  std::string OnMouseScroll;
  std::string OnMouseUp;
  std::string OnMouseDown;
  std::string OnMouseRightClick;
  std::string OnMouseMove;
  std::string KeyBind;
  std::string FontName = "Arial";
  uint32_t FontColor = 0;  // COLORREF: red in the low byte
  int16_t FontSize = 8;
  uint8_t FontStyle = 0;
  uint8_t FontAlign = 0;
  uint16_t Cursor = kNoCursor;
  uint8_t LayerSide = 0;
  int16_t X = 0, Y = 0, Width = 0, Height = 0;
  int16_t ImageWidth = 0, ImageHeight = 0;
  int16_t OffSetX = 0, OffSetY = 0;
  uint8_t Alpha = 255;
  std::array<int32_t, 4> ClipSource{0, 0, 0, 0};  // left, top, right, bottom
  std::vector<TChildLayer> Children;
  uint16_t Flags = 0;
  uint8_t MaskValue = 0;
  uint8_t MaskMinValue = 0;
  uint32_t ImageColor = kNoImageColor;
  // Script objects and event handlers that hold the record's address keep
  // a weak reference to this, and so learn that a statement deleted the
  // layer under them.
  std::shared_ptr<const char> lifetime = std::make_shared<const char>('\0');

  TLayerObject() = default;
  TLayerObject(const TLayerObject&) = delete;
  TLayerObject& operator=(const TLayerObject&) = delete;

  bool Has(uint16_t flag) const { return (Flags & flag) != 0; }
  void Set(uint16_t flag, bool on) { Flags = on ? (Flags | flag) : (Flags & ~flag); }
};

// A layer record that may be deleted while it is held: Get() is null once
// it is gone.
struct TLayerRef {
  TLayerObject* layer = nullptr;
  std::weak_ptr<const char> alive;

  TLayerObject* Get() const { return alive.expired() ? nullptr : layer; }
};

}  // namespace vorel
