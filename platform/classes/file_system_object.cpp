#include "platform/classes/file_system_object.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/automation/automation_error.h"

namespace classes {

namespace {

constexpr automation::Guid kIidFileSystemObject{0x7C1E2A03, 0x5D0B, 0x4C61, {0x9A, 0x21, 0x3E, 0x44, 0x0B, 0x7D, 0x10, 0x03}};
constexpr automation::Guid kIidFileSystemEvents{0x7C1E2A04, 0x5D0B, 0x4C61, {0x9A, 0x21, 0x3E, 0x44, 0x0B, 0x7D, 0x10, 0x04}};

enum : automation::DispId { kCreated = 1, kDeleted = 2, kChanged = 3 };

std::string Slashes(std::string path) {
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

}  // namespace

// The inotify descriptor and the pipe that stops the thread; shared with
// the thread, which closes nothing it does not own.
struct FileSystemObject::Watcher {
  int inotify = -1;
  int stop[2] = {-1, -1};
  ~Watcher() {
    for (int fd : {inotify, stop[0], stop[1]})
      if (fd >= 0) ::close(fd);
  }
};

const automation::DispatchTable<FileSystemObject>& FileSystemObject::Table() {
  using T = FileSystemObject;
  using automation::Param;
  static const automation::DispatchTable<T> table =
      automation::DispatchTable<T>("IVorelFileSystem", kIidFileSystemObject, "Files, folders and a folder watch")
          .Source(kFileSystemProgId)
          .Method("FileExists", 1, &T::FileExists, {Param("Path")})
          .Method("FolderExists", 2, &T::FolderExists, {Param("Path")})
          .Method("ReadText", 3, &T::ReadText, {Param("Path")})
          .Method("WriteText", 4, &T::WriteText, {Param("Path"), Param("Text")})
          .Method("DeleteFile", 5, &T::DeleteFile, {Param("Path")})
          .Method("CreateFolder", 6, &T::CreateFolder, {Param("Path")})
          .Method("Watch", 7, &T::Watch, {Param("Folder")})
          .Method("Unwatch", 8, &T::Unwatch)
          .Get("Watching", 9, &T::GetWatching);
  return table;
}

std::shared_ptr<const automation::InterfaceInfo> FileSystemObject::SharedEvents() {
  static const std::shared_ptr<const automation::InterfaceInfo> events = [] {
    using automation::Param;
    using automation::VarType;
    auto info = std::make_shared<automation::InterfaceInfo>("DVorelFileSystemEvents", kIidFileSystemEvents,
                                                            "Events of Vorel.FileSystem");
    info->SetDual(false);
    info->Method("Created", kCreated, {Param("Name", VarType::String)})
        .Method("Deleted", kDeleted, {Param("Name", VarType::String)})
        .Method("Changed", kChanged, {Param("Name", VarType::String)});
    return info;
  }();
  return events;
}

const automation::InterfaceInfo& FileSystemObject::Events() { return *SharedEvents(); }

FileSystemObject::~FileSystemObject() { Unwatch(); }

bool FileSystemObject::FileExists(std::string path) {
  struct stat info {};
  return ::stat(Slashes(path).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool FileSystemObject::FolderExists(std::string path) {
  struct stat info {};
  return ::stat(Slashes(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string FileSystemObject::ReadText(std::string path) {
  const std::string file = Slashes(path);
  std::ifstream in(file, std::ios::binary);
  if (!in || FolderExists(file)) throw automation::AutomationError(automation::E_FAIL, "Cannot open file \"" + file + "\"");
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool FileSystemObject::WriteText(std::string path, std::string text) {
  const std::string file = Slashes(path);
  const std::string temporary = file + ".writing";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) {
      std::remove(temporary.c_str());
      return false;
    }
  }
  if (std::rename(temporary.c_str(), file.c_str()) != 0) {
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

bool FileSystemObject::DeleteFile(std::string path) { return FileExists(path) && std::remove(Slashes(path).c_str()) == 0; }

bool FileSystemObject::CreateFolder(std::string path) { return ::mkdir(Slashes(path).c_str(), 0777) == 0; }

bool FileSystemObject::Watch(std::string folder) {
  Unwatch();
  const std::string path = Slashes(folder);
  auto watcher = std::make_shared<Watcher>();
  watcher->inotify = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
  if (watcher->inotify < 0 || ::pipe2(watcher->stop, O_CLOEXEC) != 0) return false;
  constexpr uint32_t kEvents = IN_CREATE | IN_DELETE | IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_ONLYDIR;
  if (::inotify_add_watch(watcher->inotify, path.c_str(), kEvents) < 0) return false;
  watcher_ = watcher;
  watching_ = path;
  thread_ = std::thread([watcher, point = Point()] {
    alignas(inotify_event) char buffer[4096];
    pollfd fds[2] = {{watcher->inotify, POLLIN, 0}, {watcher->stop[0], POLLIN, 0}};
    while (true) {
      if (::poll(fds, 2, -1) < 0) {
        if (errno == EINTR) continue;
        return;
      }
      if (fds[1].revents != 0) return;
      const ssize_t got = ::read(watcher->inotify, buffer, sizeof buffer);
      if (got <= 0) continue;
      for (ssize_t at = 0; at < got;) {
        const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
        at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        if (event->len == 0) continue;
        const std::string name(event->name);
        automation::DispId id = kChanged;
        if (event->mask & (IN_CREATE | IN_MOVED_TO)) id = kCreated;
        else if (event->mask & (IN_DELETE | IN_MOVED_FROM)) id = kDeleted;
        // A file written anew shows as created, then changed; the change
        // is what tells that its content is there.
        if ((event->mask & IN_CREATE) && !(event->mask & IN_ISDIR)) continue;
        point->Fire(id, {automation::Variant(name)});
      }
    }
  });
  return true;
}

void FileSystemObject::Unwatch() {
  if (!watcher_) return;
  const char stop = 1;
  ssize_t ignored = ::write(watcher_->stop[1], &stop, 1);
  (void)ignored;
  // NOTE: a receiver released on the watch's thread may take the last
  // reference to this object with it; the thread then ends by itself.
  if (thread_.get_id() == std::this_thread::get_id()) thread_.detach();
  else if (thread_.joinable()) thread_.join();
  watcher_.reset();
  watching_.clear();
}

}  // namespace classes
