// The complete example class of docs/class-kit.md, compiled and used as the
// guide shows, so the guide stays true.
#include <gtest/gtest.h>

#include "VMClassKit.h"
#include "VMJava.h"
#include "VMTestEnv.h"
#include "VMThrow.h"
#include "java_lang_IllegalArgumentException.h"
#include "java_lang_Runnable.h"
#include "java_lang_String.h"

namespace java::util {

class Counter : public virtual java::lang::Object, public virtual java::lang::Runnable {
  VM_CLASS(Counter, java::lang::Object)

 public:
  // new Counter(String name); null takes the default name.
  VMPtr<Counter> _VM_init(VMPtr<java::lang::String> name);
  // new Counter(): VM_INSTANTIABLE asks for this one (Class.newInstance).
  VMPtr<Counter> _VM_init() { return _VM_init(nullptr); }
  void run() override;  // Runnable: counts once
  int32_t getCount() { return count; }

  void _VM_markReferences(int colour) override;
  static void _VM_clinit();

  VMField<java::lang::String> name;
  int32_t count;
  static VMStatic<java::lang::String> defaultName;
  static int32_t total;
};

}  // namespace java::util

VM_REGISTER_CLASS(java::util::Counter, "java.util.Counter", "java.lang.Object", VM_INSTANTIABLE | VM_HAS_CLINIT);
VM_IMPLEMENTS(java::util::Counter, "java.lang.Runnable");

namespace java::util {

VMStatic<java::lang::String> Counter::defaultName;
int32_t Counter::total;

void Counter::_VM_clinit() { defaultName = _VM_intern("counter"); }

VMPtr<Counter> Counter::_VM_init(VMPtr<java::lang::String> name) {
  Base::_VM_init();
  if (!name) {
    _VM_clinitCheck();
    name = defaultName;
  }
  if (name->length() == 0) _VM_throwNew<java::lang::IllegalArgumentException>("empty name");
  this->name = name;
  return VMPtr<Counter>(this);
}

void Counter::run() {
  ++count;
  _VM_clinitCheck();
  ++total;
}

void Counter::_VM_markReferences(int colour) {
  _VM_mark(name, colour);
  Base::_VM_markReferences(colour);
}

}  // namespace java::util

namespace {

TEST(ClassKitExample, TheGuidesClassWorksAsShown) {
  VMTestEnv::start();
  VMPtr<java::util::Counter> c = java::util::Counter::_VM_new();
  c->_VM_init(nullptr);
  EXPECT_TRUE(c->name->_VM_equals("counter"));
  VMPtr<java::lang::Runnable> r = c;  // through the interface base
  r->run();
  r->run();
  EXPECT_EQ(c->getCount(), 2);
  EXPECT_EQ(java::util::Counter::total, 2);
  EXPECT_TRUE(_VM_instanceOf(c.get(), java::lang::Runnable::_VM_class));
  bool thrown = false;
  try {
    VMPtr<java::util::Counter> bad = java::util::Counter::_VM_new();
    bad->_VM_init(java::lang::String::_VM_fromUTF8(""));
  } catch (java::lang::IllegalArgumentException* e) {
    VMPtr<java::lang::IllegalArgumentException> error(e);  // bind before use
    thrown = error->getMessage()->_VM_equals("empty name");
  }
  EXPECT_TRUE(thrown);
  VMPtr<java::lang::Object> made = java::util::Counter::_VM_class->newInstance();
  EXPECT_TRUE(_VM_cast<java::util::Counter>(made)->name->_VM_equals("counter"));
}

}  // namespace
