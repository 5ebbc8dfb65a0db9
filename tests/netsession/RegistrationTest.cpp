// The session classes are registered under their Java names as threads,
// and no protocol of the platform gives a "socket://" connection.

#include <gtest/gtest.h>

#include <string>

#include "FakeHttpConnection.h"
#include "JavaTestSupport.h"
#include "VMClassRegistry.h"
#include "VMTestEnv.h"
#include "java_lang_Class.h"
#include "javax_microedition_io_ConnectionNotFoundException.h"
#include "javax_microedition_io_Connector.h"

namespace {

TEST(Registration, SessionClassesAndTheSocketConnection) {
  VMTestEnv::start();
  for (const char* name : {"tq.TqCanvas$NetworkSession", "tq.TqCanvas$SocketSession"}) {
    SCOPED_TRACE(name);
    java::lang::Class* c = _VM_findClass(name);
    ASSERT_NE(c, nullptr);
    EXPECT_STREQ(c->_VM_superName.c_str(), "java.lang.Thread");
    EXPECT_FALSE(c->_VM_isInterface);
    EXPECT_EQ(c->_VM_instantiator, nullptr);
  }
  java::lang::Class* socket = _VM_findClass("javax.microedition.io.SocketConnection");
  ASSERT_NE(socket, nullptr);
  EXPECT_TRUE(socket->_VM_isInterface);
  EXPECT_TRUE(_VM_isAssignableFrom(socket, _VM_findClass("javax.microedition.io.StreamConnection")));
  EXPECT_EQ(java_test::thrownMessage<javax::microedition::io::ConnectionNotFoundException>(
                [] { javax::microedition::io::Connector::open(net_test::jstring("socket://host:1")); }),
            "The requested protocol does not exist socket://host:1");
}

}  // namespace
