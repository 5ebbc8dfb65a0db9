// Downloading a reply body from a server on 127.0.0.1, side by side with
// libcurl's own easy interface doing the same into memory.
//
//   HttpConnection/<bytes>: Connector.open, openInputStream, reads of 4096
//                           bytes until the end, close (the platform client:
//                           ids, global lock released per call, a paused
//                           window of 64 KiB, one chunk copied per read).
//   CurlEasy/<bytes>:       curl_easy_perform of the same URL into a string.
//
// Both open a new connection per download, as the game does.
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <curl/curl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <string>
#include <thread>

#include "VMArray.h"
#include "VMJava.h"
#include "VMTestEnv.h"
#include "java_io_InputStream.h"
#include "java_lang_String.h"
#include "javax_microedition_io_Connector.h"
#include "javax_microedition_io_HttpConnection.h"

namespace {

// Serves one fixed reply of `size` body bytes to every connection.
class FixedServer {
 public:
  explicit FixedServer(size_t size)
      : reply_("HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(size) + "\r\nConnection: close\r\n\r\n" +
               std::string(size, 'x')) {
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(listener_, 64);
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    url_ = "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/file";
    thread_ = std::thread([this] { serve(); });
  }
  ~FixedServer() {
    stop_ = true;
    thread_.join();
    close(listener_);
  }
  const std::string& url() const { return url_; }

 private:
  void serve() {
    while (!stop_) {
      pollfd p{listener_, POLLIN, 0};
      if (poll(&p, 1, 20) <= 0) continue;
      const int fd = accept(listener_, nullptr, nullptr);
      if (fd < 0) continue;
      std::string request;
      char buffer[4096];
      while (request.find("\r\n\r\n") == std::string::npos) {
        const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        request.append(buffer, static_cast<size_t>(n));
      }
      for (size_t at = 0; at < reply_.size();) {
        const ssize_t n = send(fd, reply_.data() + at, reply_.size() - at, MSG_NOSIGNAL);
        if (n <= 0) break;
        at += static_cast<size_t>(n);
      }
      close(fd);
    }
  }

  std::string reply_;
  std::string url_;
  int listener_ = -1;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

void HttpConnection(benchmark::State& state) {
  VMTestEnv::start();
  const size_t size = static_cast<size_t>(state.range(0));
  FixedServer server(size);
  VMPtr<java::lang::String> url = java::lang::String::_VM_fromUTF8(server.url().c_str());
  VMPtr<VMArray<int8_t>> buffer = VMArray<int8_t>::create(4096);
  for (auto _ : state) {
    VMPtr<javax::microedition::io::HttpConnection> c =
        _VM_cast<javax::microedition::io::HttpConnection>(javax::microedition::io::Connector::open(url));
    VMPtr<java::io::InputStream> in = c->openInputStream();
    size_t total = 0;
    for (int32_t n; (n = in->read(buffer, 0, 4096)) >= 0;) total += static_cast<size_t>(n);
    c->close();
    if (total != size) state.SkipWithError("short body");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
}

size_t append(char* data, size_t size, size_t count, void* out) {
  static_cast<std::string*>(out)->append(data, size * count);
  return size * count;
}

void CurlEasy(benchmark::State& state) {
  const size_t size = static_cast<size_t>(state.range(0));
  FixedServer server(size);
  std::string body;
  for (auto _ : state) {
    body.clear();
    CURL* easy = curl_easy_init();
    curl_easy_setopt(easy, CURLOPT_URL, server.url().c_str());
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &append);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &body);
    curl_easy_perform(easy);
    curl_easy_cleanup(easy);
    if (body.size() != size) state.SkipWithError("short body");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
}

BENCHMARK(HttpConnection)->Arg(1024)->Arg(1 << 20)->Arg(16 << 20)->Unit(benchmark::kMicrosecond);
BENCHMARK(CurlEasy)->Arg(1024)->Arg(1 << 20)->Arg(16 << 20)->Unit(benchmark::kMicrosecond);

}  // namespace
