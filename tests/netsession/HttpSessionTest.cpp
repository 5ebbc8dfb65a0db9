// The canvas's HTTP session against the loopback server (plain and TLS):
// what goes out, the status, data and counters that come back, failures
// as stage codes, the stale rule, delivery on the canvas thread, and play
// going on during a long download.

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "DeviceProfile.h"
#include "FakeHttpConnection.h"
#include "HALExitURL.h"
#include "LoopbackServer.h"
#include "NetCanvas.h"
#include "VMJava.h"
#include "java_lang_Thread.h"

namespace net_test {
namespace {

using http_test::LoopbackServer;
using http_test::reply;
using http_test::ServedRequest;
using http_test::ServerConnection;

// A port of 127.0.0.1 on which nothing listens.
int closedPort() {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  close(fd);
  return ntohs(address.sin_port);
}

// The replies of the scripted server, by path.
void serve(const ServedRequest& r, ServerConnection& c) {
  if (r.target == "/hello") {
    c.write(reply("200 OK", {}, "hello"));
  } else if (r.target == "/short") {
    c.write("HTTP/1.1 200 OK\r\nContent-Length: 10\r\nConnection: close\r\n\r\nsixsix");
  } else if (r.target == "/encoded") {
    // The connection's encoding is the transfer encoding.
    c.write("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nContent-Length: 6\r\n\r\n3\r\nabc\r\n3\r\ndef\r\n0\r\n\r\n");
  } else if (r.target == "/missing") {
    c.write(reply("404 Not Found", {}, "no such page"));
  } else if (r.target == "/missing-stalls") {
    c.write("HTTP/1.1 404 Not Found\r\nContent-Length: 100\r\n\r\nfirst part");
    c.stall(5000);
  } else if (r.target == "/huge") {
    c.write("HTTP/1.1 200 OK\r\nContent-Length: 2147483647\r\nConnection: close\r\n\r\ntiny");
  } else if (r.target == "/slow") {
    c.stall(800);
    c.write(reply("200 OK", {}, "slow"));
  } else {
    c.write(reply("200 OK", {}, "ok"));
  }
}

class HttpSession : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"http_proxy", "https_proxy", "HTTP_PROXY", "HTTPS_PROXY", "ALL_PROXY", "all_proxy"}) {
      unsetenv(name);
    }
    startNetVM();
    DeviceProfile::instance().setTrustedCertificates(LoopbackServer::certificateFile());
    DeviceProfile::instance().setNetworkTimeoutMillis(5000);
    canvas = makeNetCanvas().get();  // the canvas's static `instance` keeps it
  }
  // Every session and canvas thread ends and is joined.
  void TearDown() override { EXPECT_TRUE(finishNetCanvas(canvas)); }

  struct Outcome {
    std::vector<NetResult> results;
    int32_t contentLength;
    int32_t bytesReceived;
  };

  // Starts a request, waits for its thread to end and delivers what it
  // reported as the canvas thread would.
  Outcome request(const std::string& url, const char* headers, const std::optional<std::string>& body) {
    VMPtr<VMArray<int8_t>> bytes;
    if (body) {
      bytes = VMArray<int8_t>::create(static_cast<int32_t>(body->size()));
      for (size_t i = 0; i < body->size(); ++i) bytes->at(static_cast<int32_t>(i)) = (*body)[i];
    }
    canvas->startHttpRequest(jstring(url), headers ? jstring(headers) : VMPtr<java::lang::String>(), bytes);
    VMPtr<tq::TqCanvas_TQC_NetworkSession> session = canvas->httpSession;
    EXPECT_TRUE(waitUntil([&] { return !session->isAlive(); }));
    canvas->results.clear();
    canvas->runJobs();
    return {canvas->results, canvas->getHttpContentLength(), canvas->getHttpBytesReceived()};
  }

  NetCanvas* canvas = nullptr;
};

struct Case {
  const char* name;
  const char* path;
  const char* headers;
  std::optional<std::string> body;
  int32_t timeoutMillis;
  int32_t status;
  std::optional<std::string> data;
  int32_t contentLength;
  int32_t bytesReceived;
};

TEST_F(HttpSession, ScriptedRepliesAsATable) {
  const Case cases[] = {
      {"a GET", "/hello", nullptr, std::nullopt, 5000, 200, "hello", 5, 5},
      {"a POST of an empty array", "/post", nullptr, "", 5000, 200, "ok", 2, 2},
      {"a POST with header lines", "/post", "X-One : first value \nX-Two:second\r\n", "abc", 5000, 200, "ok", 2, 2},
      {"a line without ':' ends the headers", "/post", "X-One: 1\nno colon here\nX-Two: 2", "abc", 5000, 200, "ok",
       2, 2},
      {"an extra header replaces Content-Type", "/post", "Content-Type: text/plain", "abc", 5000, 200, "ok", 2, 2},
      {"a body cut short", "/short", nullptr, std::nullopt, 5000, 200, "sixsix", 10, 6},
      {"an encoded reply is read to its end", "/encoded", nullptr, std::nullopt, 5000, 200, "abcdef", -1, 6},
      {"a 404 read whole", "/missing", nullptr, std::nullopt, 5000, 404, "no such page", 12, 12},
      {"a 404 that stalls mid-body", "/missing-stalls", nullptr, std::nullopt, 500, 404, std::nullopt, 100, -1},
      {"a length too large to hold", "/huge", nullptr, std::nullopt, 5000, -12, std::nullopt, 2147483647, -1},
  };
  for (bool tls : {false, true}) {
    std::vector<ServedRequest> served;
    LoopbackServer server(tls, serve);
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(tls ? "https: " : "http: ") + c.name);
      DeviceProfile::instance().setNetworkTimeoutMillis(c.timeoutMillis);
      const Outcome got = request(server.url(c.path), c.headers, c.body);
      ASSERT_EQ(got.results.size(), 1u);
      EXPECT_EQ(got.results[0].status, c.status);
      EXPECT_EQ(got.results[0].data, c.data);
      EXPECT_EQ(got.contentLength, c.contentLength);
      EXPECT_EQ(got.bytesReceived, c.bytesReceived);
    }
    served = server.requests();
    ASSERT_EQ(served.size(), std::size(cases));
    EXPECT_EQ(served[0].method, "GET");
    EXPECT_FALSE(served[0].has("Content-Type"));
    EXPECT_FALSE(served[0].has("Content-Length"));
    EXPECT_EQ(served[1].method, "POST");
    EXPECT_EQ(served[1].header("Content-Length"), "0");
    EXPECT_EQ(served[1].header("Content-Type"), "application/octet-stream");
    EXPECT_EQ(served[2].header("X-One"), "first value");
    EXPECT_EQ(served[2].header("X-Two"), "second");
    EXPECT_EQ(served[2].header("Content-Length"), "3");
    EXPECT_EQ(served[2].body, "abc");
    EXPECT_EQ(served[3].header("X-One"), "1");
    EXPECT_FALSE(served[3].has("X-Two"));
    EXPECT_EQ(served[4].header("Content-Type"), "text/plain");
  }
}

TEST_F(HttpSession, FailuresBeforeAReplyReportTheirStage) {
  const Outcome refused = request("nosuch://host/x", nullptr, std::nullopt);
  ASSERT_EQ(refused.results.size(), 1u);
  EXPECT_EQ(refused.results[0].status, -9);
  EXPECT_EQ(refused.results[0].data, std::nullopt);
  EXPECT_EQ(refused.bytesReceived, -1);

  const Outcome closedPortGet =
      request("http://127.0.0.1:" + std::to_string(closedPort()) + "/x", nullptr, std::nullopt);
  ASSERT_EQ(closedPortGet.results.size(), 1u);
  EXPECT_EQ(closedPortGet.results[0].status, -1);
  EXPECT_EQ(closedPortGet.results[0].data, std::nullopt);
  EXPECT_EQ(closedPortGet.bytesReceived, -1);

  // A response code that cannot be read (the connection was closed) fails
  // the request at the stage reached; the session still closes it.
  FakeHttpScript::current() = FakeHttpScript{};
  FakeHttpScript::current().responseCodeThrows = true;
  FakeHttpScript::current().body = "never read";
  for (bool post : {false, true}) {
    SCOPED_TRACE(post ? "POST" : "GET");
    const Outcome got = request("fakehttp://host/x", nullptr, post ? std::optional<std::string>("abc") : std::nullopt);
    ASSERT_EQ(got.results.size(), 1u);
    EXPECT_EQ(got.results[0].status, post ? -13 : -11);
    EXPECT_EQ(got.results[0].data, std::nullopt);
    EXPECT_EQ(got.bytesReceived, -1);
    EXPECT_EQ(FakeHttpLog::last().closes, 1);
    EXPECT_EQ(FakeHttpLog::last().mode, post ? 3 : 1);
  }
}

TEST_F(HttpSession, OnlyTheCurrentRequestReports) {
  EXPECT_EQ(canvas->getHttpContentLength(), 0);
  EXPECT_EQ(canvas->getHttpBytesReceived(), 0);
  EXPECT_FALSE(canvas->getNetworkStrings());
  LoopbackServer server(false, serve);

  // A second request while the first runs: only the second reports.
  canvas->startHttpRequest(jstring(server.url("/slow")), nullptr);
  VMPtr<tq::TqCanvas_TQC_NetworkSession> first = canvas->httpSession;
  const Outcome second = request(server.url("/hello"), nullptr, std::nullopt);
  ASSERT_TRUE(waitUntil([&] { return !first->isAlive(); }));
  canvas->runJobs();
  ASSERT_EQ(second.results.size(), 1u);
  EXPECT_EQ(second.results[0].data, "hello");
  EXPECT_EQ(canvas->results.size(), 1u);  // nothing more came

  // A cancelled request never reports; the counters read 0 again.
  canvas->startHttpRequest(jstring(server.url("/slow")), nullptr);
  VMPtr<tq::TqCanvas_TQC_NetworkSession> cancelled = canvas->httpSession;
  canvas->cancelHttpRequest();
  EXPECT_EQ(canvas->getHttpContentLength(), 0);
  EXPECT_EQ(canvas->getHttpBytesReceived(), 0);
  ASSERT_TRUE(waitUntil([&] { return !cancelled->isAlive(); }));
  canvas->results.clear();
  canvas->runJobs();
  EXPECT_TRUE(canvas->results.empty());
  EXPECT_FALSE(canvas->resultPending);
}

TEST_F(HttpSession, TheResultArrivesOnceOnTheCanvasThreadWhilePlayGoesOn) {
  constexpr size_t kSize = 1 << 20;
  std::string expected(kSize, 0);
  for (size_t i = 0; i < kSize; ++i) expected[i] = static_cast<char>(i * 7 + i / 4096);
  LoopbackServer server(false, [&](const ServedRequest&, ServerConnection& c) {
    c.write("HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(kSize) + "\r\n\r\n");
    for (size_t at = 0; at < kSize; at += 16384) {
      c.write(std::string_view(expected).substr(at, 16384));
      c.stall(2);
    }
  });
  showNetCanvas(VMPtr<NetCanvas>(canvas));
  ASSERT_TRUE(waitUntil([&] { return canvas->ticks > 0; }));
  canvas->startHttpRequest(jstring(server.url("/big")), nullptr);
  const int32_t ticksAtStart = canvas->ticks;
  ASSERT_TRUE(waitUntil([&] { return !canvas->results.empty(); }, 60000));
  const int32_t ticksDuring = canvas->ticks - ticksAtStart;
  const int32_t ticksAtEnd = canvas->ticks;
  ASSERT_TRUE(waitUntil([&] { return canvas->ticks > ticksAtEnd + 5; }));

  ASSERT_EQ(canvas->results.size(), 1u);
  EXPECT_EQ(canvas->results[0].status, 200);
  EXPECT_TRUE(canvas->results[0].data == expected);
  EXPECT_EQ(canvas->results[0].thread, canvas->tickThread);
  EXPECT_NE(canvas->results[0].thread, std::this_thread::get_id());
  EXPECT_EQ(canvas->getHttpBytesReceived(), static_cast<int32_t>(kSize));
  // The transfer reads at least 1024 bytes per 25 ms pause: the canvas
  // ticked all the while.
  EXPECT_GT(ticksDuring, 10);
}

TEST_F(HttpSession, OpenUrlStopsTheSoundAndQuits) {
  VMPtr<CountingMedia> media = CountingMedia::_VM_new();
  media->_VM_init();
  canvas->mediaManager = media;
  EXPECT_EQ(HAL_getExitURL(), nullptr);
  EXPECT_TRUE(canvas->requestUrl(jstring("http://example.org/more")));
  EXPECT_NE(HAL_getExitURL(), nullptr);  // kept for the browser at exit
  EXPECT_EQ(media->stops, std::vector<int32_t>{-1});
  EXPECT_EQ(canvas->appEvents, std::vector<int32_t>{3});
  EXPECT_EQ(tq::TqCanvas::runState, 4);
}

// The platform has no "socket" protocol: the session closes itself.
TEST_F(HttpSession, ASocketSessionClosesItselfWithoutASocketProtocol) {
  VMPtr<VMArray<int8_t>> data = VMArray<int8_t>::create(4);
  EXPECT_EQ(canvas->socketSend(data, 0, 4), 0);
  EXPECT_EQ(canvas->openSocket(jstring("example.org:5000")), 0);
  VMPtr<tq::TqCanvas_TQC_SocketSession> session = canvas->socketSession;
  ASSERT_TRUE(session);
  EXPECT_EQ(ascii(session->url), "socket://example.org:5000");
  ASSERT_TRUE(waitUntil([&] { return !canvas->socketSession; }));
  EXPECT_TRUE(waitUntil([&] { return !session->isAlive(); }));
  EXPECT_TRUE(session->closed);
  EXPECT_EQ(canvas->socketSend(data, 0, 4), 0);
}

}  // namespace
}  // namespace net_test
