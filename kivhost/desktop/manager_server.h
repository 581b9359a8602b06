// ManagerServer: the listening end of the manager socket, in the GTK main
// loop. Each connection sends one request line; the handler's answer goes
// back followed by "ok", or its failure as "error: WHY". Nothing blocks the
// loop: a connection is read only when data is there, and one that does not
// send a whole line within a few seconds is dropped.
#pragma once

#include <gio/gio.h>

#include <functional>
#include <map>
#include <optional>
#include <memory>
#include <string>

#include "kivhost/loop/manager_protocol.h"

namespace kivhost {

class ManagerServer {
 public:
  // Returns the answer's lines, each ending in "\n"; throws to answer with
  // an error.
  using Handler = std::function<std::string(const ManagerRequest&)>;

  // Throws ManagerError when another kivhost answers on `path` or the
  // socket cannot be made. A socket file nobody answers on is left over
  // from a kivhost that died, and is replaced.
  ManagerServer(std::string path, Handler handler);
  ~ManagerServer();
  ManagerServer(const ManagerServer&) = delete;
  ManagerServer& operator=(const ManagerServer&) = delete;

 private:
  struct Client;
  static gboolean OnIncoming(GSocketService*, GSocketConnection* connection, GObject*, gpointer self);
  static gboolean OnReadable(GSocket*, GIOCondition, gpointer client);
  static gboolean OnTooSlow(gpointer client);
  void Answer(Client& client);
  void Drop(Client& client);

  std::string path_;
  Handler handler_;
  GSocketService* service_ = nullptr;
  std::map<Client*, std::unique_ptr<Client>> clients_;
};

}  // namespace kivhost
