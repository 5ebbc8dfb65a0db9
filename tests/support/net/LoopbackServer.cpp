#include "LoopbackServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <strings.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace http_test {

std::string ServedRequest::header(std::string_view name) const {
  for (const std::string& line : headerLines) {
    const size_t colon = line.find(':');
    if (colon == name.size() && strncasecmp(line.data(), name.data(), name.size()) == 0) {
      const size_t start = line.find_first_not_of(' ', colon + 1);
      return start == std::string::npos ? "" : line.substr(start);
    }
  }
  return "<absent>";
}

std::string reply(const std::string& status, const std::vector<std::string>& headers, const std::string& body,
                  bool sized) {
  std::string out = "HTTP/1.1 " + status + "\r\n";
  for (const std::string& h : headers) out += h + "\r\n";
  if (sized) out += "Content-Length: " + std::to_string(body.size()) + "\r\n";
  return out + "\r\n" + body;
}

void ServerConnection::write(std::string_view bytes) {
  if (ssl_ != nullptr) {
    if (!bytes.empty()) SSL_write(static_cast<SSL*>(ssl_), bytes.data(), static_cast<int>(bytes.size()));
    return;
  }
  while (!bytes.empty()) {
    const ssize_t n = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (n <= 0) return;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
}

void ServerConnection::stall(int millis) {
  std::unique_lock<std::mutex> lock(server_.mutex_);
  server_.stopped_.wait_for(lock, std::chrono::milliseconds(millis), [this] { return server_.stopping_.load(); });
}

bool ServerConnection::readSome(std::string& into) {
  char buffer[4096];
  pollfd p{fd_, POLLIN, 0};
  if (ssl_ == nullptr || SSL_pending(static_cast<SSL*>(ssl_)) == 0) {
    if (poll(&p, 1, 10000) <= 0) return false;
  }
  const int n = ssl_ != nullptr ? SSL_read(static_cast<SSL*>(ssl_), buffer, sizeof buffer)
                                : static_cast<int>(::recv(fd_, buffer, sizeof buffer, 0));
  if (n <= 0) return false;
  into.append(buffer, static_cast<size_t>(n));
  return true;
}

namespace {

// The folder of the test certificate and key, removed when the process
// exits (a plain array: no destructor runs before the removal).
char certificateFolder[] = "/tmp/jme-http-XXXXXX";

void removeCertificateFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(certificateFolder, ignored);
}

std::string tempFolder() {
  static const std::string folder = [] {
    if (mkdtemp(certificateFolder) == nullptr) throw std::runtime_error("mkdtemp");
    std::atexit(removeCertificateFolder);
    return std::string(certificateFolder);
  }();
  return folder;
}

}  // namespace

std::string LoopbackServer::certificateFile() {
  static const std::string file = [] {
    const std::string folder = tempFolder();
    const std::string command = "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2 "
                                "-subj /CN=127.0.0.1 -addext subjectAltName=IP:127.0.0.1 -keyout " +
                                folder + "/key.pem -out " + folder + "/cert.pem 2>/dev/null";
    if (std::system(command.c_str()) != 0) throw std::runtime_error("openssl req failed");
    return folder + "/cert.pem";
  }();
  return file;
}

std::string LoopbackServer::keyFile() {
  certificateFile();
  return tempFolder() + "/key.pem";
}

LoopbackServer::LoopbackServer(bool tls, Handler handler) : tls_(tls), handler_(std::move(handler)) {
  if (tls_) {
    SSL_CTX* context = SSL_CTX_new(TLS_server_method());
    if (SSL_CTX_use_certificate_file(context, certificateFile().c_str(), SSL_FILETYPE_PEM) != 1 ||
        SSL_CTX_use_PrivateKey_file(context, keyFile().c_str(), SSL_FILETYPE_PEM) != 1) {
      throw std::runtime_error("cannot load the test certificate");
    }
    context_ = context;
  }
  listener_ = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(listener_, 16) != 0 ||
      getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    throw std::runtime_error("cannot listen on 127.0.0.1");
  }
  port_ = ntohs(address.sin_port);
  acceptor_ = std::thread([this] { acceptLoop(); });
}

LoopbackServer::~LoopbackServer() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  stopped_.notify_all();
  acceptor_.join();
  for (std::thread& t : workers_) t.join();
  close(listener_);
  if (context_ != nullptr) SSL_CTX_free(static_cast<SSL_CTX*>(context_));
}

std::string LoopbackServer::url(const std::string& path) const {
  return std::string(tls_ ? "https" : "http") + "://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<ServedRequest> LoopbackServer::requests() {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

void LoopbackServer::acceptLoop() {
  while (!stopping_) {
    pollfd p{listener_, POLLIN, 0};
    if (poll(&p, 1, 20) <= 0) continue;
    const int fd = accept(listener_, nullptr, nullptr);
    if (fd < 0) continue;
    std::lock_guard<std::mutex> lock(mutex_);
    workers_.emplace_back([this, fd] { serve(fd); });
  }
}

void LoopbackServer::serve(int fd) {
  SSL* ssl = nullptr;
  if (tls_) {
    ssl = SSL_new(static_cast<SSL_CTX*>(context_));
    SSL_set_fd(ssl, fd);
    if (SSL_accept(ssl) != 1) {
      SSL_free(ssl);
      close(fd);
      return;
    }
  }
  ServerConnection connection(*this, fd, ssl);
  std::string data;
  size_t end;
  while ((end = data.find("\r\n\r\n")) == std::string::npos) {
    if (!connection.readSome(data)) break;
  }
  if (end != std::string::npos) {
    ServedRequest request;
    size_t start = 0;
    bool first = true;
    while (start < end) {
      const size_t lineEnd = data.find("\r\n", start);
      const std::string line = data.substr(start, lineEnd - start);
      if (first) {
        const size_t a = line.find(' ');
        const size_t b = line.find(' ', a + 1);
        request.method = line.substr(0, a);
        request.target = line.substr(a + 1, b - a - 1);
        first = false;
      } else {
        request.headerLines.push_back(line);
      }
      start = lineEnd + 2;
    }
    request.body = data.substr(end + 4);
    const std::string length = request.header("Content-Length");
    const size_t wanted = length == "<absent>" ? 0 : std::stoul(length);
    while (request.body.size() < wanted && connection.readSome(request.body)) {
    }
    {
      std::lock_guard<std::mutex> lock(mutex_);
      requests_.push_back(request);
    }
    handler_(request, connection);
  }
  if (ssl != nullptr) {
    SSL_shutdown(ssl);
    SSL_free(ssl);
  }
  close(fd);
}

}  // namespace http_test
