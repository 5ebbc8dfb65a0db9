// The protocol classes as the registry knows them, what Connector hands a
// protocol (the whole URL, the mode unchecked, the time-out flag), the
// registry's failures as connection errors, and the platform records'
// life: a stream keeps its connection, a forgotten connection is freed by
// the collector.

#include <gtest/gtest.h>

#include <string>

#include "HALHttp.h"
#include "HttpTestSupport.h"
#include "VMClassRegistry.h"
#include "VMCollector.h"
#include "com_ravelstone_brume_cldc_io_ConnectionBaseInterface.h"
#include "java_io_IOException.h"
#include "java_lang_Class.h"

namespace http_test {

// A protocol that records how it was opened and returns no connection.
class RecordingProtocol : public virtual java::lang::Object,
                          public virtual com::ravelstone::brume::cldc::io::ConnectionBaseInterface {
  VM_CLASS(RecordingProtocol, java::lang::Object)

 public:
  VMPtr<RecordingProtocol> _VM_init() {
    Object::_VM_init();
    return VMPtr<RecordingProtocol>(this);
  }
  VMPtr<javax::microedition::io::Connection> openPrim(VMPtr<java::lang::String> name, int32_t mode,
                                                      uint8_t timeouts) override {
    lastUrl = ascii(name);
    lastMode = mode;
    lastTimeouts = timeouts;
    return VMPtr<javax::microedition::io::Connection>();
  }

  static inline std::string lastUrl;
  static inline int32_t lastMode = 0;
  static inline int32_t lastTimeouts = -1;
};

// Found under the protocol path, but no protocol.
class NotAProtocol : public virtual java::lang::Object {
  VM_CLASS(NotAProtocol, java::lang::Object)

 public:
  VMPtr<NotAProtocol> _VM_init() {
    Object::_VM_init();
    return VMPtr<NotAProtocol>(this);
  }
};

}  // namespace http_test

VM_REGISTER_CLASS(http_test::RecordingProtocol, "com.ravelstone.brume.midp.io.protocol.rec_x.Protocol",
                  "java.lang.Object", VM_INSTANTIABLE);
VM_IMPLEMENTS(http_test::RecordingProtocol, "com.ravelstone.brume.cldc.io.ConnectionBaseInterface");
VM_REGISTER_CLASS(http_test::NotAProtocol, "com.ravelstone.brume.midp.io.protocol.notone.Protocol",
                  "java.lang.Object", VM_INSTANTIABLE);

namespace http_test {
namespace {

using java_test::jstr;
using java_test::thrownMessage;
using javax::microedition::io::Connector;

TEST_F(HttpTest, ProtocolClassesAreRegistered) {
  struct Entry {
    const char* name;
    const char* super;
    bool interface;
  };
  const Entry table[] = {
      {"javax.microedition.io.Connection", "java.lang.Object", true},
      {"javax.microedition.io.InputConnection", "java.lang.Object", true},
      {"javax.microedition.io.OutputConnection", "java.lang.Object", true},
      {"javax.microedition.io.StreamConnection", "java.lang.Object", true},
      {"javax.microedition.io.ContentConnection", "java.lang.Object", true},
      {"javax.microedition.io.HttpConnection", "java.lang.Object", true},
      {"javax.microedition.io.HttpsConnection", "java.lang.Object", true},
      {"com.ravelstone.brume.cldc.io.ConnectionBaseInterface", "java.lang.Object", true},
      {"javax.microedition.io.Connector", "java.lang.Object", false},
      {"com.ravelstone.brume.midp.io.protocol.http.Protocol", "java.lang.Object", false},
      {"com.ravelstone.brume.midp.io.protocol.https.Protocol", "com.ravelstone.brume.midp.io.protocol.http.Protocol",
       false},
      {"com.ravelstone.brume.midp.io.HttpInputStream", "java.io.InputStream", false},
      {"com.ravelstone.brume.midp.io.HttpOutputStream", "java.io.OutputStream", false},
  };
  for (const Entry& e : table) {
    SCOPED_TRACE(e.name);
    java::lang::Class* c = _VM_findClass(e.name);
    ASSERT_NE(c, nullptr);
    EXPECT_STREQ(c->_VM_superName.c_str(), e.super);
    EXPECT_EQ(c->_VM_isInterface, e.interface);
  }
  java::lang::Class* https = _VM_findClass("com.ravelstone.brume.midp.io.protocol.https.Protocol");
  for (const char* iface : {"javax.microedition.io.HttpsConnection", "javax.microedition.io.HttpConnection",
                            "javax.microedition.io.StreamConnection", "javax.microedition.io.Connection",
                            "com.ravelstone.brume.cldc.io.ConnectionBaseInterface"}) {
    SCOPED_TRACE(iface);
    EXPECT_TRUE(_VM_isAssignableFrom(https, _VM_findClass(iface)));
  }
  Http::_VM_clinitCheck();
  EXPECT_EQ(ascii(Http::HEAD), "HEAD");
  EXPECT_EQ(ascii(Http::GET), "GET");
  EXPECT_EQ(ascii(Http::POST), "POST");
}

TEST_F(HttpTest, ConnectorHandsTheProtocolTheWholeUrlAndTheModeUnchecked) {
  struct Case {
    int32_t mode;  // 0: the one-argument open
    int32_t expected;
  };
  for (const Case& k : {Case{0, 3}, Case{Connector::READ, 1}, Case{7, 7}}) {
    SCOPED_TRACE(k.mode);
    VMPtr<java::lang::String> url = jstr(u"rec-x://host/path");
    if (k.mode == 0) {
      Connector::open(url);
    } else {
      Connector::open(url, k.mode);
    }
    EXPECT_EQ(RecordingProtocol::lastUrl, "rec-x://host/path");
    EXPECT_EQ(RecordingProtocol::lastMode, k.expected);
    EXPECT_EQ(RecordingProtocol::lastTimeouts, 0);
  }
  Connector::open(jstr(u"rec-x:"), Connector::WRITE, 1);
  EXPECT_EQ(RecordingProtocol::lastTimeouts, 1);
  EXPECT_EQ(thrownMessage<java::io::IOException>([] { Connector::open(jstr(u"notone://x")); }),
            "java.lang.ClassCastException");
}

TEST_F(HttpTest, StreamKeepsItsConnectionAndForgottenConnectionsAreFreed) {
  LoopbackServer server(false, [](const ServedRequest&, ServerConnection& c) { c.write(reply("200 OK", {}, "kept")); });
  VMPtr<java::io::InputStream> in;
  {
    VMPtr<Http> c = open(server.url("/"));
    in = c->openInputStream();
  }
  _VM_collect();
  EXPECT_EQ(HAL_countHTTPConnections(), 1);
  EXPECT_EQ(readAll(in), "kept");
  in = VMPtr<java::io::InputStream>();
  {
    VMPtr<Http> forgotten = open(server.url("/"));
  }
  _VM_collect();
  EXPECT_EQ(HAL_countHTTPConnections(), 0);
}

}  // namespace
}  // namespace http_test
