// HTTP connections against the loopback server: the request as the server
// sees it, the reply as the connection reports it, states and their
// errors, and bodies read through the input stream.

#include <gtest/gtest.h>

#include <string>

#include "HALHttp.h"
#include "HttpTestSupport.h"
#include "java_io_IOException.h"
#include "java_io_OutputStream.h"

namespace http_test {
namespace {

using java_test::jstr;
using java_test::thrownMessage;

TEST_F(HttpTest, GetSendsHeadersInReverseOrderAndReportsTheReply) {
  LoopbackServer server(false, [](const ServedRequest&, ServerConnection& c) {
    c.write(reply("200 OK",
                  {"Content-Type: text/plain", "X-Tight:nospace", "X-Empty:", "date: Sun, 06 Nov 1994 08:49:37 GMT"},
                  "hello"));
  });
  VMPtr<Http> c = open(server.url("/a/b?x=1"));
  EXPECT_EQ(ascii(c->getRequestMethod()), "GET");
  c->setRequestProperty(jstr(u"X-A"), jstr(u"1"));
  c->setRequestProperty(jstr(u"X-B"), jstr(u"2"));
  c->setRequestProperty(jstr(u"X-C"), jstr(u"3"));
  c->setRequestProperty(jstr(u"X-A"), jstr(u"4"));  // replaced in place
  c->setRequestProperty(VMPtr<java::lang::String>(), jstr(u"X-Raw: 5"));
  EXPECT_EQ(ascii(c->getRequestProperty(jstr(u"X-A"))), "4");
  EXPECT_EQ(ascii(c->getRequestProperty(jstr(u"x-a"))), "<null>");

  EXPECT_EQ(c->getResponseCode(), 200);
  EXPECT_EQ(ascii(c->getResponseMessage()), "HTTP/1.1 200 OK");
  EXPECT_EQ(ascii(c->getHeaderField(0)), "HTTP/1.1 200 OK");
  EXPECT_EQ(ascii(c->getHeaderFieldKey(0)), "<null>");
  EXPECT_EQ(ascii(c->getHeaderFieldKey(1)), "Content-Type");
  EXPECT_EQ(ascii(c->getHeaderField(1)), "text/plain");
  EXPECT_EQ(ascii(c->getHeaderField(99)), "<null>");
  EXPECT_EQ(ascii(c->getHeaderField(jstr(u"x-tight"))), "nospace");
  EXPECT_EQ(ascii(c->getHeaderField(jstr(u"X-Empty"))), "");
  EXPECT_EQ(ascii(c->getHeaderField(jstr(u"X-Missing"))), "<null>");
  EXPECT_EQ(ascii(c->getType()), "text/plain");
  EXPECT_EQ(ascii(c->getEncoding()), "<null>");
  EXPECT_EQ(c->getLength(), 5);
  EXPECT_EQ(c->getHeaderFieldInt(jstr(u"Content-Length"), -1), 5);
  EXPECT_EQ(c->getHeaderFieldInt(jstr(u"Content-Type"), -1), -1);
  EXPECT_EQ(c->getDate(), 784111777000LL);  // found although spelt in lower case by the server
  EXPECT_EQ(c->getLastModified(), 0);
  EXPECT_EQ(c->getHeaderFieldDate(jstr(u"Content-Type"), 7), 7);
  EXPECT_EQ(readAll(c->openInputStream()), "hello");

  const auto seen = server.requests();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].method, "GET");
  EXPECT_EQ(seen[0].target, "/a/b?x=1");
  std::vector<std::string> own;
  for (const std::string& line : seen[0].headerLines) {
    if (line.rfind("X-", 0) == 0) own.push_back(line);
  }
  EXPECT_EQ(own, (std::vector<std::string>{"X-Raw: 5", "X-C: 3", "X-B: 2", "X-A: 4"}));
  EXPECT_FALSE(seen[0].has("Content-Type"));
  EXPECT_FALSE(seen[0].has("Content-Length"));

  using java::io::IOException;
  EXPECT_EQ(thrownMessage<IOException>([&] { c->setRequestProperty(jstr(u"X-D"), jstr(u"6")); }),
            "HttpConnection error: HTTP request property cannot be set because the connection is in the Connected state");
  EXPECT_EQ(thrownMessage<IOException>([&] { c->setRequestMethod(jstr(u"HEAD")); }),
            "HttpConnection error: HTTP method cannot be reset");
  c->close();
  EXPECT_EQ(thrownMessage<IOException>([&] { c->getURL(); }), "HttpConnection error: the connection is closed");
  c->close();
  EXPECT_EQ(HAL_countHTTPConnections(), 0);
}

TEST_F(HttpTest, PostSendsTheWrittenBody) {
  LoopbackServer server(false, [](const ServedRequest& r, ServerConnection& c) {
    c.write(reply("201 Created", {}, "got " + std::to_string(r.body.size())));
  });
  VMPtr<Http> c = open(server.url("/post"));
  using java::io::IOException;
  EXPECT_EQ(thrownMessage<IOException>([&] { c->setRequestMethod(jstr(u"post")); }),
            "HttpConnection error: Invalid HTTP method");
  c->setRequestMethod(jstr(u"POST"));
  c->setRequestProperty(jstr(u"Content-Type"), jstr(u"application/octet-stream"));
  VMPtr<java::io::OutputStream> out = c->openOutputStream();
  VMPtr<VMArray<int8_t>> bytes = VMArray<int8_t>::create(5);
  for (int i = 0; i < 5; ++i) bytes->elements()[i] = static_cast<int8_t>(0xF0 + i);
  out->write(bytes, 0, 3);
  out->write(bytes, 0, 5);
  out->close();
  EXPECT_EQ(c->getResponseCode(), 201);
  out = c->openOutputStream();
  out->write(0x41);  // after the send: kept, never sent
  EXPECT_EQ(readAll(c->openInputStream()), "got 8");
  const auto seen = server.requests();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].method, "POST");
  EXPECT_EQ(seen[0].header("Content-Length"), "8");
  EXPECT_EQ(seen[0].header("Content-Type"), "application/octet-stream");
  EXPECT_FALSE(seen[0].has("Expect"));
  EXPECT_EQ(seen[0].body, std::string("\xF0\xF1\xF2\xF0\xF1\xF2\xF3\xF4", 8));
  c->close();

  // A POST of nothing says so.
  VMPtr<Http> empty = open(server.url("/empty"));
  empty->setRequestMethod(jstr(u"POST"));
  EXPECT_EQ(empty->getResponseCode(), 201);
  EXPECT_EQ(server.requests().at(1).header("Content-Length"), "0");
  empty->close();
}

TEST_F(HttpTest, StatusCodesAndRedirectsComeAsTheServerSentThem) {
  LoopbackServer server(false, [](const ServedRequest& r, ServerConnection& c) {
    const std::string code = r.target.substr(1);
    if (code == "302") {
      c.write(reply("302 Found", {"Location: /200"}, "moved"));
    } else if (code == "204") {
      c.write(reply("204 No Content", {}, "", false));
    } else {
      c.write(reply(code + " Whatever", {}, "body of " + code));
    }
  });
  struct Case {
    const char* path;
    int code;
    const char* body;
  };
  for (const Case& k : {Case{"/200", 200, "body of 200"}, Case{"/404", 404, "body of 404"},
                        Case{"/500", 500, "body of 500"}, Case{"/204", 204, ""}, Case{"/302", 302, "moved"}}) {
    SCOPED_TRACE(k.path);
    VMPtr<Http> c = open(server.url(k.path));
    EXPECT_EQ(c->getResponseCode(), k.code);
    EXPECT_EQ(readAll(c->openInputStream()), k.body);
    if (k.code == 302) {
      EXPECT_EQ(ascii(c->getHeaderField(jstr(u"location"))), "/200");
    }
    c->close();
  }
  EXPECT_EQ(server.requests().size(), 5u);  // the redirect was not followed
}

TEST_F(HttpTest, AStatusLineWithAColonIsStillTheStatusLine) {
  LoopbackServer server(false, [](const ServedRequest&, ServerConnection& c) {
    c.write(reply("503 Service Unavailable: maintenance", {"Retry-After: 60"}, "later"));
  });
  VMPtr<Http> c = open(server.url("/"));
  EXPECT_EQ(c->getResponseCode(), 503);
  EXPECT_EQ(ascii(c->getResponseMessage()), "HTTP/1.1 503 Service Unavailable: maintenance");
  EXPECT_EQ(ascii(c->getHeaderField(0)), "HTTP/1.1 503 Service Unavailable: maintenance");
  EXPECT_EQ(ascii(c->getHeaderFieldKey(0)), "<null>");
  EXPECT_EQ(ascii(c->getHeaderFieldKey(1)), "Retry-After");
  EXPECT_EQ(ascii(c->getHeaderField(jstr(u"HTTP/1.1 503 Service Unavailable"))), "<null>");
  EXPECT_EQ(readAll(c->openInputStream()), "later");
  c->close();
}

TEST_F(HttpTest, InterimRepliesHeadRequestsAndEndlessHeaders) {
  LoopbackServer server(false, [](const ServedRequest& r, ServerConnection& c) {
    if (r.target == "/interim") {
      c.write("HTTP/1.1 100 Continue\r\n\r\n" + reply("200 OK", {"X-Final: yes"}, "done"));
    } else if (r.target == "/head") {
      c.write("HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\n");
    } else {
      c.write("HTTP/1.1 200 OK\r\n");
      const std::string line = "X-Filler: " + std::string(1000, 'f') + "\r\n";
      for (int i = 0; i < 2000; ++i) c.write(line);
    }
  });
  VMPtr<Http> interim = open(server.url("/interim"));
  EXPECT_EQ(interim->getResponseCode(), 200);
  EXPECT_EQ(ascii(interim->getHeaderField(0)), "HTTP/1.1 200 OK");
  EXPECT_EQ(ascii(interim->getHeaderField(1)), "yes");
  EXPECT_EQ(readAll(interim->openInputStream()), "done");
  interim->close();

  VMPtr<Http> head = open(server.url("/head"));
  head->setRequestMethod(jstr(u"HEAD"));
  EXPECT_EQ(head->getLength(), 5);
  EXPECT_EQ(head->openInputStream()->read(), -1);
  EXPECT_EQ(server.requests().at(1).method, "HEAD");
  head->close();

  VMPtr<Http> endless = open(server.url("/endless"));  // 2 MB of header: refused
  EXPECT_EQ(endless->getResponseCode(), -1);
  endless->close();
}

TEST_F(HttpTest, RequestPropertiesFirstAskedAfterTheSendAreThoseSent) {
  LoopbackServer server(false, [](const ServedRequest&, ServerConnection& c) { c.write(reply("200 OK", {}, "")); });
  VMPtr<Http> c = open(server.url("/x"));
  EXPECT_EQ(c->getResponseCode(), 200);
  EXPECT_EQ(ascii(c->getRequestProperty(jstr(u"Host"))), "127.0.0.1:" + std::to_string(server.port()));
  EXPECT_EQ(ascii(c->getRequestProperty(jstr(u"Accept"))), "*/*");
  EXPECT_EQ(ascii(c->getRequestProperty(jstr(u"Content-Type"))), "<null>");
  c->close();
}

TEST_F(HttpTest, HeadersThatCouldSplitTheRequestAreNotSent) {
  LoopbackServer server(false, [](const ServedRequest&, ServerConnection& c) { c.write(reply("200 OK", {}, "")); });
  VMPtr<Http> c = open(server.url("/"));
  c->setRequestProperty(jstr(u"X-Evil"), jstr(u"a\r\nInjected: 1"));
  EXPECT_EQ(c->getResponseCode(), -1);
  EXPECT_EQ(ascii(c->getHeaderField(0)), "<null>");
  EXPECT_EQ(thrownMessage<java::io::IOException>([&] { readAll(c->openInputStream()); }), "HttpConnection error: 7");
  EXPECT_TRUE(server.requests().empty());
  c->close();
}

TEST_F(HttpTest, UnreachableServerFailsTheQueriesAndTheReads) {
  std::string url;
  {
    LoopbackServer gone(false, [](const ServedRequest&, ServerConnection&) {});
    url = gone.url("/");
  }
  VMPtr<Http> c = open(url);
  EXPECT_EQ(c->getResponseCode(), -1);
  EXPECT_EQ(c->getLength(), -1);
  EXPECT_EQ(ascii(c->getType()), "<null>");
  EXPECT_EQ(thrownMessage<java::io::IOException>([&] { c->openInputStream()->read(); }), "HttpConnection error: 7");
  c->close();
}

}  // namespace
}  // namespace http_test
