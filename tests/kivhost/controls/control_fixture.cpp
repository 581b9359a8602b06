#include "control_fixture.h"

#include <filesystem>

namespace kivhost::testing {

void ControlTest::SetUp() {
  hwnd = Host::Get().CreateDesklet().Hwnd();
  DeskletLayerAdd(hwnd, "skin");  // a layer of the skin, under the controls
  folder = (std::filesystem::temp_directory_path() /
            ("kivcontrols_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name())))
               .string();
  std::filesystem::create_directories(folder);
  resources = KivCreateResources(folder.c_str());
  container = KivCreateControlContainer(hwnd, resources);
}

void ControlTest::TearDown() {
  KivFreeControlContainer(container);
  KivFreeResources(resources);
  Host::Get().RemoveDesklet(hwnd);
  std::filesystem::remove_all(folder);
}

KivHandle ControlTest::Make(const std::string& name, const char* type, KivRect rect, KivSize side) {
  KivLockContainer(container);
  const KivHandle c = KivCreateControl(container, name.c_str(), type, 0, 0);
  KivLockControl(c);
  Send(c, 4, reinterpret_cast<WPARAM>(&rect), reinterpret_cast<LPARAM>(&side));
  KivUnlockControl(c);
  KivAddControlToContainer(container, c);
  Send(c, 7);
  KivUnlockContainer(container);
  return c;
}

std::u16string ControlTest::GetText(KivHandle c) {
  const int32_t n = Send(c, 116);
  std::u16string text(static_cast<size_t>(n) + 1, u'\0');
  Send(c, 115, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(n));
  return text;
}

int32_t ControlTest::Record(void* p, int32_t* extra) {
  auto* r = static_cast<Registration*>(p);
  Call call{r->name, r->code, extra ? *extra : -1};
  r->test->calls.push_back(call);
  if (r->test->hook) r->test->hook(call, extra);
  return -1;
}

void ControlTest::Watch(KivHandle c, const std::string& name, std::initializer_list<uint32_t> codes) {
  for (uint32_t code : codes) {
    registrations_.push_back({this, name, code});
    Send(c, code, reinterpret_cast<WPARAM>(&registrations_.back()), reinterpret_cast<LPARAM>(&Record));
  }
}

uint32_t ControlTest::LayerId(const std::string& name) {
  BOOL32 found = kFalse;
  const uint32_t id = DeskletLayerGetLayer(hwnd, name.c_str(), &found);
  EXPECT_EQ(found, kTrue) << name;
  return id;
}

KivSize ControlTest::LayerSize(const std::string& name) {
  cairo_surface_t* s = Picture(name);
  if (!s) return {scale, scale};  // a layer of the skin: any size does
  return {cairo_image_surface_get_width(s) / scale, cairo_image_surface_get_height(s) / scale};
}

int32_t ControlTest::Down(const std::string& layer, int x, int y, uint32_t flags) {
  const KivSize size = LayerSize(layer);
  KivPoint pt{x / scale, y / scale};
  return KivForwardMouseDown(container, LayerId(layer), layer.c_str(), &pt, &size, flags);
}

int32_t ControlTest::Up(const std::string& layer, int x, int y) {
  const KivSize size = LayerSize(layer);
  KivPoint pt{x / scale, y / scale};
  return KivForwardMouseUp(container, LayerId(layer), layer.c_str(), &pt, &size, 1);
}

int32_t ControlTest::Move(const std::string& layer, int x, int y) {
  const KivSize size = LayerSize(layer);
  KivPoint pt{x / scale, y / scale};
  return KivForwardMouseMove(container, LayerId(layer), layer.c_str(), &pt, &size);
}

int32_t ControlTest::Wheel(const std::string& layer, int steps) {
  const KivSize size = LayerSize(layer);
  KivPoint pt{1, 1};
  return steps > 0 ? KivForwardMouseWheelForward(container, LayerId(layer), layer.c_str(), &pt, &size, 0, steps)
                   : KivForwardMouseWheelBackward(container, LayerId(layer), layer.c_str(), &pt, &size, 0, steps);
}

int32_t ControlTest::Click(const std::string& layer, int x, int y) {
  const int32_t used = Down(layer, x, y);
  Up(layer, x, y);
  return used;
}

int32_t ControlTest::Press(uint32_t key, bool shift) {
  const LPARAM flags = shift ? 1 : 0;
  int32_t used = KivForwardMessage(container, 256, key, flags);
  if (key == 8 || key == 9 || key == 13 || key == 27) used |= KivForwardMessage(container, 258, key, flags);
  KivForwardMessage(container, 257, key, flags);
  return used;
}

void ControlTest::Type(const std::u16string& text) {
  for (char16_t c : text) KivForwardMessage(container, 258, c, 0);
}

cairo_surface_t* ControlTest::Picture(const std::string& name) {
  BOOL32 found = kFalse;
  const uint32_t id = DeskletLayerGetLayer(hwnd, name.c_str(), &found);
  if (!found) return nullptr;
  const HostLayer* layer = Host::Get().Find(hwnd)->Layer(id);
  return layer && layer->image ? layer->image->Surface() : nullptr;
}

uint32_t ControlTest::Pixel(const std::string& name, int x, int y) {
  cairo_surface_t* s = Picture(name);
  if (!s) return 0;
  cairo_surface_flush(s);
  const unsigned char* data = cairo_image_surface_get_data(s);
  const int stride = cairo_image_surface_get_stride(s);
  return *reinterpret_cast<const uint32_t*>(data + y * stride + x * 4);
}

nlohmann::json ControlTest::State(const std::string& name) {
  for (const auto& c : nlohmann::json::parse(KivControlsDescribe(hwnd)))
    if (c["name"] == name) return c;
  return nullptr;
}

}  // namespace kivhost::testing
