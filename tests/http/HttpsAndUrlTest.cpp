// HTTPS over TLS against the loopback server with a certificate made for
// the test, a server the device does not trust, and the URL parts the
// connection reports (with the https port rules).

#include <gtest/gtest.h>

#include <string>

#include "HttpTestSupport.h"
#include "com_ravelstone_brume_midp_io_protocol_https_Protocol.h"
#include "javax_microedition_io_HttpsConnection.h"

namespace http_test {
namespace {

using java_test::jstr;

TEST_F(HttpTest, HttpsTalksTlsToTheTrustedServer) {
  LoopbackServer server(true, [](const ServedRequest& r, ServerConnection& c) {
    c.write(reply("200 OK", {"Content-Type: text/plain"}, "secret " + r.method + " " + r.header("X-Q")));
  });
  VMPtr<Http> c = open(server.url("/s"));
  ASSERT_NE(dynamic_cast<javax::microedition::io::HttpsConnection*>(c.get()), nullptr);
  c->setRequestProperty(jstr(u"X-Q"), jstr(u"q"));
  EXPECT_EQ(c->getResponseCode(), 200);
  EXPECT_EQ(readAll(c->openInputStream()), "secret GET q");
  EXPECT_EQ(ascii(c->getProtocol()), "https");
  EXPECT_EQ(c->getPort(), server.port());
  c->close();
}

TEST_F(HttpTest, HttpsRefusesAServerItDoesNotTrust) {
  DeviceProfile::instance().setTrustedCertificates("");  // the host's store, which knows no test certificate
  LoopbackServer server(true, [](const ServedRequest&, ServerConnection& c) { c.write(reply("200 OK", {}, "x")); });
  VMPtr<Http> c = open(server.url("/"));
  EXPECT_EQ(c->getResponseCode(), -1);
  EXPECT_TRUE(server.requests().empty());
  c->close();
}

TEST_F(HttpTest, UrlPartsAndPorts) {
  struct Case {
    const char* url;
    const char* host;
    int port;
    const char* file;
    const char* query;
    const char* ref;
  };
  const Case cases[] = {
      {"http://example.com", "example.com", 80, "<null>", "<null>", "<null>"},
      {"http://example.com:8080", "example.com", 8080, "<null>", "<null>", "<null>"},
      {"http://example.com/a/b.txt?x=1&y=2", "example.com", 80, "/a/b.txt", "x=1&y=2", "<null>"},
      // The path ends at the query or the fragment; the query ends at the
      // fragment, and a '?' inside the fragment belongs to the fragment.
      {"http://example.com:81/p?q#frag?more", "example.com", 81, "/p", "q", "frag?more"},
      {"http://h/p#frag", "h", 80, "/p", "<null>", "frag"},
      {"http://h?x=/y", "h", 80, "<null>", "x=/y", "<null>"},
      {"http://h:8080#a/b?c", "h", 8080, "<null>", "<null>", "a/b?c"},
      {"http://h/p?a?b#c#d", "h", 80, "/p", "a?b", "c#d"},
      {"http://h/p?#", "h", 80, "/p", "", ""},
      {"http://example.com/a:b", "example.com", 80, "/a:b", "<null>", "<null>"},
      {"https://example.com/", "example.com", 443, "/", "<null>", "<null>"},
      {"https://example.com:80/", "example.com", 443, "/", "<null>", "<null>"},
      {"https://example.com:8443/x", "example.com", 8443, "/x", "<null>", "<null>"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.url);
    VMPtr<Http> c = open(k.url);
    EXPECT_EQ(ascii(c->getURL()), k.url);
    EXPECT_EQ(ascii(c->getHost()), k.host);
    EXPECT_EQ(c->getPort(), k.port);
    EXPECT_EQ(ascii(c->getFile()), k.file);
    EXPECT_EQ(ascii(c->getQuery()), k.query);
    EXPECT_EQ(ascii(c->getRef()), k.ref);
    EXPECT_EQ(ascii(c->getProtocol()), std::string(k.url).rfind("https", 0) == 0 ? "https" : "http");
    c->close();
  }
}

}  // namespace
}  // namespace http_test
