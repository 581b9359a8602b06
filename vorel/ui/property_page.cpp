#include "vorel/ui/property_page.h"

#include <cstdio>
#include <map>
#include <memory>

#include "platform/win/win_services.h"
#include "vorel/model/desklet.h"
#include "vorel/ui/property_form.h"

namespace vorel {

namespace {

constexpr int32_t kPageTemplate = 100;

// The open pages by their window. Used on the window thread only, where
// the host calls the page procedure.
std::map<HWND, std::unique_ptr<TFMPropertySheet>>& OpenPages() {
  static std::map<HWND, std::unique_ptr<TFMPropertySheet>> pages;
  return pages;
}

TFMPropertySheet* FormOf(const TDeskletObject& desklet) {
  for (auto& [page, form] : OpenPages())
    if (&form->Desklet() == &desklet) return form.get();
  return nullptr;
}

// Runs the work for the page's desklet; a failure goes into its error log,
// and the page shows the log as it is then.
template <typename Work>
void ForPage(TFMPropertySheet& form, const char* what, Work&& work) {
  TDeskletObject& desklet = form.Desklet();
  try {
    TErrorLog::Scope scope(desklet.errorLog, std::string("property page: ") + what);
    try {
      work();
    } catch (...) {
      desklet.errorLog.Report(std::current_exception());
      form.Show();
    }
  } catch (const std::exception& e) {
    // Reporting failed too (no memory left): the host's stderr is left.
    std::fprintf(stderr, "vorel: property page: %s\n", e.what());
  }
}

void Initialise(HWND page, LPARAM parameter) {
  auto* desklet = reinterpret_cast<TDeskletObject*>(parameter);
  // NOTE: one form a desklet: a second page asked for meanwhile stays empty.
  if (!desklet || desklet->destroying || FormOf(*desklet)) return;
  try {
    OpenPages()[page] = std::make_unique<TFMPropertySheet>(*desklet, page);
  } catch (...) {
    OpenPages().erase(page);
    TErrorLog::Scope scope(desklet->errorLog, "property page");
    desklet->errorLog.Report(std::current_exception());
  }
}

intptr_t PageProcedure(HWND page, uint32_t message, WPARAM wParam, LPARAM lParam) noexcept {
  try {
    if (message == kWmInitDialog) {
      Initialise(page, lParam);
      return 0;
    }
    auto it = OpenPages().find(page);
    if (it == OpenPages().end()) return 0;
    TFMPropertySheet& form = *it->second;
    switch (message) {
      case kWmSize: ForPage(form, "show", [&] { form.Show(); }); break;
      case kWmCommand:
        if ((wParam >> 16) == kBnClicked)
          ForPage(form, "command", [&] { form.Command(static_cast<int32_t>(wParam & 0xFFFF)); });
        break;
      case kWmDestroy: {
        std::unique_ptr<TFMPropertySheet> closing = std::move(it->second);
        OpenPages().erase(it);
        ForPage(*closing, "close", [&] { closing->Close(); });
        break;
      }
      default: break;
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vorel: property page: %s\n", e.what());
  }
  return 0;
}

}  // namespace

HPROPSHEETPAGE CreatePropertyPage(TDeskletObject& desklet) {
  return win::CreatePropertySheetPage("Vorel", kPageTemplate, reinterpret_cast<void*>(&PageProcedure), &desklet);
}

void ClosePropertyPage(TDeskletObject& desklet) {
  for (auto it = OpenPages().begin(); it != OpenPages().end(); ++it) {
    if (&it->second->Desklet() != &desklet) continue;
    std::unique_ptr<TFMPropertySheet> closing = std::move(it->second);
    OpenPages().erase(it);
    ForPage(*closing, "close", [&] { closing->Close(); });
    return;
  }
}

bool HasOpenPropertyPage(const TDeskletObject& desklet) { return FormOf(desklet) != nullptr; }

}  // namespace vorel
