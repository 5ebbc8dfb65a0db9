// Without the protocol path property, Connector looks protocol classes up
// under "com.ravelstone.brume.io.", where there is none.

#include <gtest/gtest.h>

#include <string>

#include "JavaTestSupport.h"
#include "VMTestEnv.h"
#include "java_lang_System.h"
#include "javax_microedition_io_ConnectionNotFoundException.h"
#include "javax_microedition_io_Connector.h"

namespace {

bool noProperties(const char*, std::u16string&) { return false; }

TEST(ProtocolPath, AbsentPropertyLooksUnderTheDefaultPackage) {
  _VM_lookupSystemProperty = noProperties;
  VMTestEnv::start();
  using javax::microedition::io::Connector;
  EXPECT_EQ(java_test::thrownMessage<javax::microedition::io::ConnectionNotFoundException>(
                [] { Connector::open(java_test::jstr(u"http://127.0.0.1/")); }),
            "The requested protocol does not exist http://127.0.0.1/");
}

}  // namespace
