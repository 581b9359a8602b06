// FileSystemObject ("Vorel.FileSystem"): files and folders for scripts,
// and a watch on one folder whose changes arrive as events: Created(Name),
// Deleted(Name) and Changed(Name), with the name of the file inside the
// folder. Paths may use "\" for "/". Text is read and written as UTF-8;
// a write replaces the file in one step (temporary file, then rename).
// Events come from the watch's own thread: a receiver that runs scripts
// takes them over to its script thread.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <thread>

#include "platform/classes/event_source.h"

namespace classes {

inline constexpr const char* kFileSystemProgId = "Vorel.FileSystem";

class FileSystemObject : public EventSource<FileSystemObject> {
 public:
  static const automation::DispatchTable<FileSystemObject>& Table();
  static const automation::InterfaceInfo& Events();
  static std::shared_ptr<const automation::InterfaceInfo> SharedEvents();

  FileSystemObject() = default;
  ~FileSystemObject() override;

  bool FileExists(std::string path);
  bool FolderExists(std::string path);
  // Fails with "Cannot open file" for a file that cannot be read.
  std::string ReadText(std::string path);
  bool WriteText(std::string path, std::string text);
  bool DeleteFile(std::string path);
  bool CreateFolder(std::string path);
  // Watches the folder instead of the one watched before; false when it
  // cannot be watched (no such folder).
  bool Watch(std::string folder);
  void Unwatch();
  std::string GetWatching() const { return watching_; }

 private:
  struct Watcher;
  std::shared_ptr<Watcher> watcher_;
  std::thread thread_;
  std::string watching_;
};

}  // namespace classes
