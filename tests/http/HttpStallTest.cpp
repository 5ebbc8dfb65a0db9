// A server that stalls: the request ends after the network time-out
// without progress, and other Java threads run all the while, because the
// platform waits with the global lock released. Closing the connection
// from another thread ends a wait at once.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>

#include "HALHttp.h"
#include "HttpTestSupport.h"
#include "VMClassKit.h"
#include "JavaTask.h"
#include "VMCollector.h"
#include "VMContext.h"
#include "java_io_IOException.h"
#include "java_lang_Runnable.h"
#include "java_lang_Thread.h"

namespace http_test {
namespace {

using Clock = std::chrono::steady_clock;
using java_test::thrownMessage;

int64_t millisSince(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

TEST_F(HttpTest, StallingServerTimesOutWhileOtherThreadsRun) {
  DeviceProfile::instance().setNetworkTimeoutMillis(600);
  LoopbackServer server(false, [](const ServedRequest& r, ServerConnection& c) {
    if (r.target == "/mid-body") {
      c.write("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nfirst");
    }
    c.stall(10000);
  });
  std::atomic<int> ticks{0};
  std::atomic<bool> stop{false};
  VMPtr<java::lang::Thread> ticker = java_test::startThread([&] {
    while (!stop) {
      ++ticks;
      java::lang::Thread::sleep(2);
    }
  });

  VMPtr<Http> c = open(server.url("/no-reply"));
  const int before = ticks;
  const auto start = Clock::now();
  EXPECT_EQ(c->getResponseCode(), -1);
  const int64_t waited = millisSince(start);
  EXPECT_GE(waited, 500);
  EXPECT_LT(waited, 5000);
  EXPECT_GT(ticks - before, 10) << "the other Java thread did not run during the wait";
  c->close();

  VMPtr<Http> partial = open(server.url("/mid-body"));
  EXPECT_EQ(partial->getResponseCode(), 200);
  VMPtr<java::io::InputStream> in = partial->openInputStream();
  EXPECT_EQ(in->read(), 'f');
  EXPECT_EQ(in->skip(4), 4);
  EXPECT_EQ(thrownMessage<java::io::IOException>([&] { in->read(); }), "HttpConnection error: 7");
  partial->close();

  stop = true;
  EXPECT_TRUE(java_test::joinThread(ticker));
}

// A server that keeps the request alive with interim replies, or with one
// header line at a time, never sends the final reply's header: the
// time-out bounds the whole wait for it, not only each pause.
TEST_F(HttpTest, InterimRepliesAndTricklingHeadersDoNotHoldTheRequest) {
  DeviceProfile::instance().setNetworkTimeoutMillis(600);
  LoopbackServer server(false, [](const ServedRequest& r, ServerConnection& c) {
    if (r.target == "/trickle") c.write("HTTP/1.1 200 OK\r\n");
    for (int i = 0; i < 40; ++i) {  // 8 s, or less when the server stops
      c.write(r.target == "/trickle" ? "X-Wait: 1\r\n" : "HTTP/1.1 102 Processing\r\n\r\n");
      c.stall(200);
    }
  });
  for (const char* path : {"/processing", "/trickle"}) {
    SCOPED_TRACE(path);
    VMPtr<Http> c = open(server.url(path));
    const auto start = Clock::now();
    EXPECT_EQ(c->getResponseCode(), -1);
    const int64_t waited = millisSince(start);
    EXPECT_GE(waited, 500);
    EXPECT_LT(waited, 4000);
    c->close();
  }
}

TEST_F(HttpTest, ClosingFromAnotherThreadEndsTheWait) {
  DeviceProfile::instance().setNetworkTimeoutMillis(20000);
  LoopbackServer server(false, [](const ServedRequest&, ServerConnection& c) { c.stall(20000); });
  VMPtr<Http> c = open(server.url("/"));
  std::atomic<bool> waiting{false};
  VMPtr<java::lang::Thread> closer = java_test::startThread([&] {
    while (!waiting) java::lang::Thread::sleep(1);
    java::lang::Thread::sleep(200);
    VMPtr<Http> same = c;
    same->close();
  });
  const auto start = Clock::now();
  waiting = true;
  // The close destroys the record under this call; the call still ends
  // cleanly, and the connection is closed afterwards.
  EXPECT_EQ(c->getResponseCode(), -1);
  EXPECT_LT(millisSince(start), 10000);
  EXPECT_TRUE(java_test::joinThread(closer));
  EXPECT_EQ(thrownMessage<java::io::IOException>([&] { c->getResponseCode(); }),
            "HttpConnection error: the connection is closed");
  EXPECT_EQ(HAL_countHTTPConnections(), 0);
}

}  // namespace
}  // namespace http_test
