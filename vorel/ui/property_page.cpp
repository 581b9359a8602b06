#include "vorel/ui/property_page.h"

#include "platform/win/win_services.h"
#include "vorel/model/desklet.h"

namespace vorel {

namespace {

constexpr int32_t kPageTemplate = 100;

// The page's dialog procedure. The error log and update settings it shows
// come with the property-page step; until then the page stays empty.
intptr_t PageProcedure(HWND, uint32_t, WPARAM, LPARAM) { return 0; }

}  // namespace

HPROPSHEETPAGE CreatePropertyPage(TDeskletObject& desklet) {
  return win::CreatePropertySheetPage("Vorel", kPageTemplate, reinterpret_cast<void*>(&PageProcedure), &desklet);
}

}  // namespace vorel
