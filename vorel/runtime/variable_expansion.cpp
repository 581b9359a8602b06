#include "vorel/runtime/variable_expansion.h"

#include "platform/win/user_folders.h"
#include "vorel/host/desklet_object.h"
#include "vorel/runtime/folder_cache.h"
#include "vorel/util/paths.h"
#include "vorel/util/text_routines.h"

namespace vorel {

namespace {

void ReplaceToken(std::string& text, std::string_view token, const std::string& value) {
  if (text.find(token) != std::string::npos) text = ReplaceAll(text, token, value);
}

// A folder token: the folder is only looked up (and created when missing)
// when the token is in the text.
template <typename Lookup>
void ReplaceFolderToken(std::string& text, std::string_view token, Lookup lookup) {
  if (text.find(token) != std::string::npos) text = ReplaceAll(text, token, lookup());
}

}  // namespace

std::string ExpandVariables(TDeskletObject& desklet, std::string_view input) {
  std::string result(input);
  // Every token contains "%": a text without one is returned unchanged.
  if (result.find('%') == std::string::npos) return result;

  for (const auto& p : desklet.parameters) ReplaceToken(result, "%" + p->Name + "%", p->Value);
  if (result.find('%') == std::string::npos) return result;

  TFolderCache& folders = *desklet.folderCache;
  ReplaceToken(result, "%THISMOUSEX%", std::to_string(desklet.layerMouseX));
  ReplaceToken(result, "%MOUSEX%", std::to_string(desklet.mouseX));
  ReplaceToken(result, "%MOUSEY%", std::to_string(desklet.mouseY));
  ReplaceFolderToken(result, "%MYDOC%", [&] { return folders.Folder(win::kCsidlPersonal); });
  ReplaceFolderToken(result, "%MYDOCUMENTS%", [&] { return folders.Folder(win::kCsidlPersonal); });
  ReplaceFolderToken(result, "%MYPICTURES%", [&] { return folders.Folder(win::kCsidlMyPictures); });
  ReplaceFolderToken(result, "%MYVIDEOS%", [&] { return folders.Folder(win::kCsidlMyVideo); });
  ReplaceFolderToken(result, "%MYMUSIC%", [&] { return folders.Folder(win::kCsidlMyMusic); });
  ReplaceFolderToken(result, "%DESKTOP%", [&] { return folders.Folder(win::kCsidlDesktopDirectory); });
  ReplaceFolderToken(result, "%TMPPATH%", [&] { return folders.TempFolder(); });
  ReplaceToken(result, "%SKINPATH%", WithTrailingSlash(FolderOf(desklet.skinPath)));
  ReplaceToken(result, "%SKINRESPATH%", WithTrailingSlash(desklet.resourcePath));
  ReplaceToken(result, "%SKINCTRLPATH%", WithTrailingSlash(desklet.controlPath));
  return result;
}

}  // namespace vorel
