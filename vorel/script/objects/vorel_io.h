// TVorelIO: files, folders, downloads and the shell for scripts. Paths
// written with "\" are read with "/"; the folders of the user are the XDG
// ones, returned without a trailing "/", and the temporary folder with one.
// Text files are read as UTF-8, or as UTF-16 when they start with its byte
// order mark. Starting a program goes through the host's shell execute,
// which never hands the text to a shell.
#pragma once

#include <cstdint>
#include <string>

#include "platform/automation/dispatch_object.h"

namespace vorel {

class TDeskletObject;

class TVorelIO : public automation::DispatchObject<TVorelIO> {
 public:
  static automation::ComPtr<TVorelIO> Create(TDeskletObject& desklet);
  static const automation::DispatchTable<TVorelIO>& Table();

  explicit TVorelIO(TDeskletObject* desklet) : desklet_(desklet) {}
  bool IsBound() const { return desklet_ != nullptr; }
  void Unbind() { desklet_ = nullptr; }

  std::string GetTextFile(std::string fileName);
  void ShellExecutes(std::string fileName, std::string parameters, std::string directory, int32_t showCmd,
                     std::string operation);
  std::string GetTmpPath();
  std::string GetSkinResPath();
  std::string GetSkinPath();
  std::string GetUserDocumentPath();
  std::string GetSkinCtrlPath();
  bool CreateDirectory(std::string directoryName);
  std::string GenerateUniqueName();
  bool URLToFile(std::string urlPath, std::string fileName);
  std::string GetSystemDirectory(std::string name);

 private:
  TDeskletObject* desklet_;
};

// The text of a file's bytes: a UTF-16 file (little- or big-endian, by its
// byte order mark) converted to UTF-8, a UTF-8 byte order mark dropped;
// every line ended by CR LF.
std::string TextFileLines(std::string_view bytes);

}  // namespace vorel
