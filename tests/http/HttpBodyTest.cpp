// Reply bodies through HttpInputStream: sized and chunked bodies, reads
// that never span two chunks, skip and available, a long body that the
// platform takes in piece by piece, and a body cut short by the server.

#include <gtest/gtest.h>

#include <string>

#include "HttpTestSupport.h"
#include "VMThread.h"
#include "java_io_IOException.h"
#include "java_lang_IndexOutOfBoundsException.h"
#include "java_lang_NullPointerException.h"

namespace http_test {
namespace {

using java_test::jstr;
using java_test::thrownMessage;

// Bytes 0, 1, ... 255, 0, 1, ... : every value, 0xFF included.
std::string pattern(size_t n) {
  std::string s(n, '\0');
  for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>(i & 0xFF);
  return s;
}

// The body as chunks of the given sizes, then the last chunk.
std::string chunked(const std::string& body, size_t piece) {
  std::string out;
  char size[16];
  for (size_t at = 0; at < body.size(); at += piece) {
    const size_t n = std::min(piece, body.size() - at);
    std::snprintf(size, sizeof size, "%zx\r\n", n);
    out += size + body.substr(at, n) + "\r\n";
  }
  return out + "0\r\n\r\n";
}

TEST_F(HttpTest, SizedAndChunkedBodiesReadWhole) {
  const std::string body = pattern(300000);
  LoopbackServer server(false, [&body](const ServedRequest& r, ServerConnection& c) {
    if (r.target == "/chunked") {
      c.write(reply("200 OK", {"Transfer-Encoding: chunked"}, chunked(body, 7000), false));
    } else {
      c.write(reply("200 OK", {}, body));
    }
  });
  for (const char* path : {"/sized", "/chunked"}) {
    SCOPED_TRACE(path);
    VMPtr<Http> c = open(server.url(path));
    const bool isChunked = std::string(path) == "/chunked";
    EXPECT_EQ(ascii(c->getEncoding()), isChunked ? "chunked" : "<null>");
    EXPECT_EQ(c->getLength(), isChunked ? -1 : 300000);
    VMPtr<java::io::InputStream> in = c->openInputStream();
    EXPECT_EQ(in->read(), 0);
    EXPECT_EQ(in->skip(254), 254);
    EXPECT_EQ(in->read(), 255);  // a byte 0xFF is 255, not the end
    EXPECT_EQ(readAll(in), body.substr(256));
    EXPECT_EQ(in->read(), -1);
    c->close();
  }
}

TEST_F(HttpTest, InputStreamChunkRules) {
  LoopbackServer server(false, [](const ServedRequest&, ServerConnection& c) {
    c.write(reply("200 OK", {}, pattern(20)));
  });
  VMPtr<Http> c = open(server.url("/"));
  VMPtr<java::io::InputStream> in = c->openInputStream();
  EXPECT_EQ(in->available(), 0);  // nothing asked for yet
  EXPECT_TRUE(server.requests().empty());
  VMPtr<VMArray<int8_t>> b = VMArray<int8_t>::create(32);
  EXPECT_EQ(in->read(b, 0, 0), 0);  // sends the request and takes the first chunk
  EXPECT_EQ(server.requests().size(), 1u);
  EXPECT_EQ(in->available(), 20);
  EXPECT_EQ(in->skip(10), 10);
  EXPECT_EQ(in->read(b, 0, 32), 10);
  EXPECT_EQ(b->elements()[0], 10);
  EXPECT_EQ(in->read(b, 0, 32), -1);
  EXPECT_EQ(in->skip(5), 0);
  EXPECT_EQ(in->skip(-1), 0);
  using java::io::IOException;
  thrownMessage<java::lang::NullPointerException>([&] { in->read(VMPtr<VMArray<int8_t>>(), 0, 1); });
  thrownMessage<java::lang::IndexOutOfBoundsException>([&] { in->read(b, 30, 3); });
  in->close();
  EXPECT_EQ(thrownMessage<IOException>([&] { in->read(); }), "The input stream has been closed");
  EXPECT_EQ(in->available(), 0);
  c->close();
}

TEST_F(HttpTest, TwoInputStreamsShareOneBodyAndOutliveTheConnection) {
  LoopbackServer server(false, [](const ServedRequest&, ServerConnection& c) {
    c.write(reply("200 OK", {}, pattern(10000)));
  });
  VMPtr<Http> c = open(server.url("/"));
  VMPtr<java::io::InputStream> first = c->openInputStream();
  VMPtr<java::io::InputStream> second = c->openInputStream();
  std::string both = readAll(first) + readAll(second);
  EXPECT_EQ(both.size(), 10000u);
  c->close();  // closes the second stream only
  using java::io::IOException;
  EXPECT_EQ(thrownMessage<IOException>([&] { second->read(); }), "The input stream has been closed");
  // The first stream still has its id, which names no record any more.
  EXPECT_EQ(thrownMessage<IOException>([&] { first->read(); }), "HttpConnection error: 2");
  VMPtr<java::io::OutputStream> out;
  EXPECT_EQ(thrownMessage<IOException>([&] { c->openOutputStream(); }),
            "HttpConnection error: the connection is closed");
}

TEST_F(HttpTest, BodyCutShortEndsEarly) {
  LoopbackServer server(false, [](const ServedRequest&, ServerConnection& c) {
    c.write("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nabcdef");
  });
  VMPtr<Http> c = open(server.url("/"));
  EXPECT_EQ(c->getLength(), 10);
  EXPECT_EQ(readAll(c->openInputStream()), "abcdef");
  c->close();
}

TEST_F(HttpTest, ServerClosingBeforeTheReplyFailsTheRequest) {
  LoopbackServer server(false, [](const ServedRequest&, ServerConnection& c) { c.write("HTTP/1.1 200"); });
  VMPtr<Http> c = open(server.url("/"));
  EXPECT_EQ(c->getResponseCode(), -1);
  EXPECT_EQ(ascii(c->getHeaderField(0)), "<null>");
  EXPECT_EQ(thrownMessage<java::io::IOException>([&] { c->openInputStream()->read(); }), "HttpConnection error: 7");
  c->close();
}

}  // namespace
}  // namespace http_test
