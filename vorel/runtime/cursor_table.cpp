#include "vorel/runtime/cursor_table.h"

#include <map>
#include <mutex>

#include "platform/win/win_services.h"
#include "vorel/model/desklet.h"
#include "vorel/host/host_api.h"
#include "vorel/runtime/cursor_images.h"

namespace vorel {

namespace {

constexpr int32_t kArrow = 32512;

// The sixteen system cursors, registered under their own identifiers.
constexpr int32_t kSystemCursors[] = {32512, 32513, 32514, 32515, 32516, 32640, 32641, 32642,
                                      32643, 32644, 32645, 32646, 32648, 32649, 32650, 32651};

// The library's named cursors that are system cursors.
constexpr std::pair<int32_t, int32_t> kNamedSystemCursors[] = {
    {-2, 32512},  {-3, 32515},  {-4, 32513},  {-5, 32646},  {-22, 32646}, {-6, 32643}, {-7, 32645},
    {-8, 32642},  {-9, 32644},  {-10, 32516}, {-11, 32514}, {-18, 32648}, {-19, 32650}, {-20, 32651},
};

constexpr std::pair<int32_t, LibraryCursor> kDrawnCursors[] = {
    {-12, LibraryCursor::Drag},    {-13, LibraryCursor::NoDrop},    {-14, LibraryCursor::HSplit},
    {-15, LibraryCursor::VSplit},  {-16, LibraryCursor::MultiDrag}, {-17, LibraryCursor::SqlWait},
    {-21, LibraryCursor::HandPoint},
};

class CursorTable {
 public:
  static CursorTable& Instance() {
    static CursorTable table;
    return table;
  }

  HCURSOR Get(int32_t number) {
    std::call_once(filled_, [this] { Fill(); });
    if (number == -1) return 0;
    auto it = cursors_.find(number);
    if (it == cursors_.end()) it = cursors_.find(0);
    return it->second;
  }

 private:
  // NOTE: filled at first use rather than when the library is loaded: the
  // host's window services are there for certain only once it calls in.
  void Fill() {
    for (int32_t id : kSystemCursors) cursors_[id] = win::LoadCursor(id);
    cursors_[0] = cursors_[kArrow];
    for (auto [number, id] : kNamedSystemCursors) cursors_[number] = cursors_[id];
    for (auto [number, which] : kDrawnCursors) {
      const CursorImage image = DrawLibraryCursor(which);
      cursors_[number] = win::CreateCursor(image.argb.data(), image.width, image.height, image.hotX, image.hotY);
    }
  }

  std::once_flag filled_;
  std::map<int32_t, HCURSOR> cursors_;
};

}  // namespace

HCURSOR CursorHandle(int32_t number) { return CursorTable::Instance().Get(number); }

void SetDeskletCursor(TDeskletObject& desklet, uint16_t number) {
  if (number == 65535) return;
  host::DeskletSetCursor(desklet.windowHandle, CursorHandle(static_cast<int16_t>(number)));
}

}  // namespace vorel
