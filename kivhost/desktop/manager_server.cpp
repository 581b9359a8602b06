#include "kivhost/desktop/manager_server.h"

#include "kivhost/loop/manager_client.h"

#include <gio/gunixsocketaddress.h>
#include <sys/stat.h>
#include <unistd.h>

#include <iostream>

namespace kivhost {

namespace {

constexpr size_t kLongestRequest = 8192;
constexpr guint kRequestSeconds = 5;

// A GError's message, freeing it.
std::string TakeMessage(GError* error) {
  std::string message = error ? error->message : "unknown error";
  if (error) g_error_free(error);
  return message;
}

}  // namespace

struct ManagerServer::Client {
  ManagerServer* server = nullptr;
  GSocketConnection* connection = nullptr;
  GSource* readable = nullptr;
  guint deadline = 0;
  std::string line;

  ~Client() {
    if (readable) {
      g_source_destroy(readable);
      g_source_unref(readable);
    }
    if (deadline) g_source_remove(deadline);
    if (connection) {
      g_io_stream_close(G_IO_STREAM(connection), nullptr, nullptr);
      g_object_unref(connection);
    }
  }
};

ManagerServer::ManagerServer(std::string path, Handler handler) : path_(std::move(path)), handler_(std::move(handler)) {
  if (HostAnswersOn(path_))
    throw ManagerError("another kivhost already shows these desklets (it answers on " + path_ + ")");
  // Nobody answers: a socket file left by a kivhost that died goes.
  unlink(path_.c_str());
  service_ = g_socket_service_new();
  GSocketAddress* address = g_unix_socket_address_new(path_.c_str());
  GError* error = nullptr;
  const gboolean added = g_socket_listener_add_address(G_SOCKET_LISTENER(service_), address, G_SOCKET_TYPE_STREAM,
                                                       G_SOCKET_PROTOCOL_DEFAULT, nullptr, nullptr, &error);
  g_object_unref(address);
  if (!added) {
    g_object_unref(service_);
    throw ManagerError("cannot listen on " + path_ + ": " + TakeMessage(error));
  }
  chmod(path_.c_str(), S_IRUSR | S_IWUSR);
  g_signal_connect(service_, "incoming", G_CALLBACK(&ManagerServer::OnIncoming), this);
  g_socket_service_start(service_);
}

ManagerServer::~ManagerServer() {
  clients_.clear();
  g_signal_handlers_disconnect_by_data(service_, this);
  g_socket_service_stop(service_);
  g_socket_listener_close(G_SOCKET_LISTENER(service_));
  g_object_unref(service_);
  unlink(path_.c_str());
}

gboolean ManagerServer::OnIncoming(GSocketService*, GSocketConnection* connection, GObject*, gpointer self) {
  auto* server = static_cast<ManagerServer*>(self);
  auto client = std::make_unique<Client>();
  client->server = server;
  client->connection = G_SOCKET_CONNECTION(g_object_ref(connection));
  GSocket* socket = g_socket_connection_get_socket(connection);
  g_socket_set_blocking(socket, FALSE);
  client->readable = g_socket_create_source(socket, static_cast<GIOCondition>(G_IO_IN | G_IO_HUP | G_IO_ERR), nullptr);
  g_source_set_callback(client->readable, G_SOURCE_FUNC(&ManagerServer::OnReadable), client.get(),
                        nullptr);
  g_source_attach(client->readable, nullptr);
  client->deadline = g_timeout_add_seconds(kRequestSeconds, &ManagerServer::OnTooSlow, client.get());
  Client* key = client.get();
  server->clients_.emplace(key, std::move(client));
  return TRUE;
}

gboolean ManagerServer::OnReadable(GSocket* socket, GIOCondition, gpointer data) {
  Client& client = *static_cast<Client*>(data);
  char buffer[1024];
  GError* error = nullptr;
  const gssize got = g_socket_receive(socket, buffer, sizeof buffer, nullptr, &error);
  if (got < 0 && g_error_matches(error, G_IO_ERROR, G_IO_ERROR_WOULD_BLOCK)) {
    g_error_free(error);
    return G_SOURCE_CONTINUE;
  }
  if (got <= 0) {
    if (got < 0) std::cerr << "kivhost: a manager request could not be read: " << TakeMessage(error) << "\n";
    client.server->Drop(client);
    return G_SOURCE_REMOVE;
  }
  client.line.append(buffer, static_cast<size_t>(got));
  const size_t end = client.line.find('\n');
  if (end == std::string::npos && client.line.size() <= kLongestRequest) return G_SOURCE_CONTINUE;
  if (end != std::string::npos) client.line.resize(end);
  // NOTE: answering drops the client, this source with it; nothing of it
  // may be touched afterwards.
  client.server->Answer(client);
  return G_SOURCE_REMOVE;
}

gboolean ManagerServer::OnTooSlow(gpointer data) {
  Client& client = *static_cast<Client*>(data);
  client.deadline = 0;
  std::cerr << "kivhost: a manager request did not come within " << kRequestSeconds << " s; dropped\n";
  client.server->Drop(client);
  return G_SOURCE_REMOVE;
}

void ManagerServer::Answer(Client& client) {
  std::string answer;
  try {
    if (client.line.size() > kLongestRequest) throw ManagerError("the request is too long");
    answer = handler_(ParseRequest(client.line));
    answer += "ok\n";
  } catch (const std::exception& e) {
    answer = std::string("error: ") + e.what() + "\n";
  }
  // The asking kivhost reads at once; a client that does not is given up on.
  GSocket* socket = g_socket_connection_get_socket(client.connection);
  g_socket_set_blocking(socket, TRUE);
  g_socket_set_timeout(socket, kRequestSeconds);
  GError* error = nullptr;
  if (!g_output_stream_write_all(g_io_stream_get_output_stream(G_IO_STREAM(client.connection)), answer.data(),
                                 answer.size(), nullptr, nullptr, &error))
    std::cerr << "kivhost: the answer to a manager request could not be sent: " << TakeMessage(error) << "\n";
  Drop(client);
}

void ManagerServer::Drop(Client& client) { clients_.erase(&client); }

}  // namespace kivhost
