// The start-up check of class registrations walks every registered class
// of the runtime and the library and finds them all in agreement with
// their C++ classes (a disagreement is a fatal error, tests/registration).
#include <gtest/gtest.h>

#include "VMArray.h"
#include "VMClassRegistry.h"
#include "VMTestEnv.h"

namespace {

TEST(RegistrationCheck, EveryRegisteredClassAgreesWithItsCppClass) {
  VMTestEnv::start();
  // Start-up ran it already; it walks the same classes again.
  EXPECT_GT(_VM_checkClassRegistrations(), 100);
  EXPECT_NE(_VM_findClass("java.util.Vector")->_VM_type, nullptr);
  EXPECT_EQ(VMArray<int32_t>::classObject()->_VM_type, nullptr) << "array classes are made, not registered";
}

}  // namespace
