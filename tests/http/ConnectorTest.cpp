// Connector: the URL checks, the protocol class lookup under the protocol
// path and the errors of a scheme without a protocol class.

#include <gtest/gtest.h>

#include "JavaTestSupport.h"
#include "VMTestEnv.h"
#include "java_lang_IllegalArgumentException.h"
#include "javax_microedition_io_ConnectionNotFoundException.h"
#include "javax_microedition_io_Connector.h"

using java_test::jstr;
using java_test::thrownMessage;
using java_test::u16;
using javax::microedition::io::ConnectionNotFoundException;
using javax::microedition::io::Connector;

namespace {

TEST(Connector, MalformedUrlsAreRefused) {
  VMTestEnv::start();
  using IAE = java::lang::IllegalArgumentException;
  EXPECT_EQ(thrownMessage<IAE>([] { Connector::open(VMPtr<java::lang::String>()); }), "Null URL");
  EXPECT_EQ(thrownMessage<IAE>([] { Connector::open(jstr(u":foo")); }), "empty protocol in URL");
  EXPECT_EQ(thrownMessage<IAE>([] { Connector::open(jstr(u"localhost/index.html")); }), "no ':' in URL");
}

TEST(Connector, SchemeWithoutProtocolClassIsNotFound) {
  VMTestEnv::start();
  for (const char* url : {"socket://host:5000", "a-b://x", "HTTP://127.0.0.1/", "file:///tmp/x"}) {
    SCOPED_TRACE(url);
    EXPECT_EQ(thrownMessage<ConnectionNotFoundException>([&] { Connector::open(jstr(u16(url)), Connector::READ); }),
              std::string("The requested protocol does not exist ") + url);
  }
}

}  // namespace
