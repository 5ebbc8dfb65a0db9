// Registrations that disagree with the C++ classes end start-up with a
// message naming each class. This program registers such classes on
// purpose, so every start of its VM fails: each test is a death test.
#include <gtest/gtest.h>

#include "VMClassKit.h"
#include "VMTestEnv.h"

using namespace java::lang;

namespace bad {

class Iface : public virtual Object {
  VM_INTERFACE_CLASS(Iface)
};
class Parent : public virtual Object {
  VM_CLASS(Parent, Object)
};
// Registered under java.lang.Object although it extends Parent.
class WrongSuper : public Parent {
  VM_CLASS(WrongSuper, Parent)
};
// Implements Iface in C++ but does not register it.
class UnlistedInterface : public virtual Object, public virtual Iface {
  VM_CLASS(UnlistedInterface, Object)
};
// Registers Iface without implementing it in C++.
class ClaimedInterface : public virtual Object {
  VM_CLASS(ClaimedInterface, Object)
};
// Agrees (a class with a superclass and an interface, as registered).
class Fine : public Parent, public virtual Iface {
  VM_CLASS(Fine, Parent)
};

}  // namespace bad

VM_REGISTER_CLASS(bad::Iface, "bad.Iface", "java.lang.Object", VM_INTERFACE);
VM_REGISTER_CLASS(bad::Parent, "bad.Parent", "java.lang.Object", VM_INSTANTIABLE);
VM_REGISTER_CLASS(bad::WrongSuper, "bad.WrongSuper", "java.lang.Object", VM_INSTANTIABLE);
VM_REGISTER_CLASS(bad::UnlistedInterface, "bad.UnlistedInterface", "java.lang.Object", VM_INSTANTIABLE);
VM_REGISTER_CLASS(bad::ClaimedInterface, "bad.ClaimedInterface", "java.lang.Object", VM_INSTANTIABLE);
VM_IMPLEMENTS(bad::ClaimedInterface, "bad.Iface");
VM_REGISTER_CLASS(bad::Fine, "bad.Fine", "bad.Parent", VM_INSTANTIABLE);
VM_IMPLEMENTS(bad::Fine, "bad.Iface");

namespace {

TEST(RegistrationMismatchDeathTest, StartUpNamesEveryClassThatDisagrees) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const char* reports[] = {
      "bad.WrongSuper disagrees with its C\\+\\+ class: superclass \\(registered: java.lang.Object, C\\+\\+: bad.Parent\\)",
      "bad.UnlistedInterface disagrees with its C\\+\\+ class: interface not registered with VM_IMPLEMENTS "
      "\\(registered: -, C\\+\\+: bad.Iface\\)",
      "bad.ClaimedInterface disagrees with its C\\+\\+ class: VM_IMPLEMENTS names no C\\+\\+ base "
      "\\(registered: bad.Iface, C\\+\\+: -\\)",
  };
  for (const char* report : reports) {
    EXPECT_EXIT(VMTestEnv::start(), testing::ExitedWithCode(1), report) << report;
  }
}

}  // namespace
