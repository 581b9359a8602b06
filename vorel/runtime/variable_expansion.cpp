#include "vorel/runtime/variable_expansion.h"

#include "platform/win/user_folders.h"
#include "vorel/model/desklet.h"
#include "vorel/model/folder_cache.h"
#include "vorel/runtime/token_text.h"
#include "vorel/util/paths.h"

namespace vorel {

std::string ExpandVariables(TDeskletObject& desklet, std::string_view input) {
  // Every token contains "%": a text without one is returned unchanged.
  if (input.find('%') == std::string_view::npos) return std::string(input);
  TokenText text(input);

  // Parameters first, in list order, so that their values may hold fixed
  // tokens.
  // NOTE: each parameter is its own allocation, and the loop mostly waits
  // for them to arrive; asking a few ahead hides that wait.
  const auto& parameters = desklet.parameters;
  constexpr size_t kAhead = 8;
  for (size_t i = 0; i < parameters.size(); ++i) {
    if (i + kAhead < parameters.size()) __builtin_prefetch(parameters[i + kAhead].get());
    text.Replace(parameters[i]->Name, parameters[i]->Value);
  }
  if (!text.HasPercent()) return text.Take();

  TFolderCache& folders = *desklet.folderCache;
  text.Replace("THISMOUSEX", [&] { return std::to_string(desklet.input.layerMouseX); });
  text.Replace("MOUSEX", [&] { return std::to_string(desklet.input.mouseX); });
  text.Replace("MOUSEY", [&] { return std::to_string(desklet.input.mouseY); });
  text.Replace("MYDOC", [&] { return folders.Folder(win::kCsidlPersonal); });
  text.Replace("MYDOCUMENTS", [&] { return folders.Folder(win::kCsidlPersonal); });
  text.Replace("MYPICTURES", [&] { return folders.Folder(win::kCsidlMyPictures); });
  text.Replace("MYVIDEOS", [&] { return folders.Folder(win::kCsidlMyVideo); });
  text.Replace("MYMUSIC", [&] { return folders.Folder(win::kCsidlMyMusic); });
  text.Replace("DESKTOP", [&] { return folders.Folder(win::kCsidlDesktopDirectory); });
  text.Replace("TMPPATH", [&] { return folders.TempFolder(); });
  text.Replace("SKINPATH", [&] { return WithTrailingSlash(FolderOf(desklet.settings.skinPath)); });
  text.Replace("SKINRESPATH", [&] { return WithTrailingSlash(desklet.settings.resourcePath); });
  text.Replace("SKINCTRLPATH", [&] { return WithTrailingSlash(desklet.settings.controlPath); });
  return text.Take();
}

}  // namespace vorel
