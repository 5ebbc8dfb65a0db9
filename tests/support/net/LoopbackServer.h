#pragma once

// A small HTTP/1.1 server on 127.0.0.1 for the HTTP tests, plain or over
// TLS (with a certificate for 127.0.0.1 made by the openssl program at
// test time). Each connection is served on its own thread: the request is
// read (header and a Content-Length body), recorded, and handed to the
// test's handler, which writes whatever reply it likes, stalls or closes.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace http_test {

struct ServedRequest {
  std::string method;
  std::string target;
  // Header lines in the order received, as "Name: value".
  std::vector<std::string> headerLines;
  std::string body;

  // The value of the first header named `name` (letter case ignored), or
  // "<absent>".
  std::string header(std::string_view name) const;
  bool has(std::string_view name) const { return header(name) != "<absent>"; }
};

class LoopbackServer;

// The reply side of one connection.
class ServerConnection {
 public:
  void write(std::string_view bytes);
  // Waits `millis` ms, or less when the server stops.
  void stall(int millis);

 private:
  friend class LoopbackServer;
  ServerConnection(LoopbackServer& server, int fd, void* ssl) : server_(server), fd_(fd), ssl_(ssl) {}
  bool readSome(std::string& into);
  LoopbackServer& server_;
  int fd_;
  void* ssl_;
};

class LoopbackServer {
 public:
  using Handler = std::function<void(const ServedRequest&, ServerConnection&)>;

  // Listens on a free port of 127.0.0.1; with `tls`, speaks TLS with the
  // certificate of certificateFile().
  LoopbackServer(bool tls, Handler handler);
  ~LoopbackServer();

  int port() const { return port_; }
  // "http://127.0.0.1:<port><path>" (https with TLS).
  std::string url(const std::string& path) const;
  std::vector<ServedRequest> requests();

  // The PEM certificate (and key) for 127.0.0.1, made once per process.
  static std::string certificateFile();
  static std::string keyFile();

 private:
  friend class ServerConnection;
  void acceptLoop();
  void serve(int fd);

  bool tls_;
  Handler handler_;
  void* context_ = nullptr;  // SSL_CTX*
  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  std::mutex mutex_;
  std::condition_variable stopped_;
  std::vector<ServedRequest> requests_;
  std::vector<std::thread> workers_;
  std::thread acceptor_;
};

// A whole reply: status line, the header lines, Content-Length of the body
// unless `sized` is false, then the body.
std::string reply(const std::string& status, const std::vector<std::string>& headers, const std::string& body,
                  bool sized = true);

}  // namespace http_test
