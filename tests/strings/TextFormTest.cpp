// The text forms of objects, classes and throwables, and the messages of the
// two index exceptions.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "StringTestSupport.h"
#include "VMArray.h"
#include "VMClassRegistry.h"
#include "VMTestEnv.h"
#include "java_io_IOException.h"
#include "java_lang_ArrayIndexOutOfBoundsException.h"
#include "java_lang_Integer.h"
#include "java_lang_String.h"
#include "java_lang_StringIndexOutOfBoundsException.h"
#include "java_lang_Throwable.h"

using java::lang::Integer;
using java::lang::Object;
using java::lang::String;
using java::lang::Throwable;
using namespace strings_test;

namespace {

TEST(TextForms, ObjectIsClassNameAtHexHash) {
  VMTestEnv::start();
  VMPtr<Object> o = Object::_VM_new();
  char expected[64];
  std::snprintf(expected, sizeof expected, "java.lang.Object@%x", static_cast<unsigned>(o->hashCode()));
  EXPECT_TRUE(o->toString()->_VM_equals(expected));
  // The hash is the object's own hashCode, in lower-case hex without sign.
  VMPtr<Integer> n = Integer::_VM_new();
  n->_VM_init(-1);
  EXPECT_EQ(text(n->Object::toString()), u"java.lang.Integer@ffffffff");
  n->_VM_init(0xAB);
  EXPECT_EQ(text(n->Object::toString()), u"java.lang.Integer@ab");
}

TEST(TextForms, ClassNameAndText) {
  VMTestEnv::start();
  EXPECT_EQ(text(String::_VM_class->getName()), u"java.lang.String");
  EXPECT_EQ(text(String::_VM_class->toString()), u"class java.lang.String");
  java::lang::Class* ints = VMArray<int32_t>::classObject();
  EXPECT_EQ(text(ints->getName()), u"[I");
  EXPECT_EQ(text(ints->toString()), u"class [I");
  EXPECT_EQ(text(VMArray<String>::classObject()->toString()), u"class [Ljava.lang.String;");
}

TEST(TextForms, ThrowableIsClassNameAndMessage) {
  VMTestEnv::start();
  VMPtr<Throwable> plain = Throwable::_VM_new();
  plain->_VM_init();
  EXPECT_EQ(text(plain->toString()), u"java.lang.Throwable");
  VMPtr<java::io::IOException> io = java::io::IOException::_VM_new();
  io->_VM_init(jstr(u"x"));
  EXPECT_EQ(text(io->toString()), u"java.io.IOException: x");
  VMPtr<java::io::IOException> empty = java::io::IOException::_VM_new();
  empty->_VM_init(jstr(u""));
  EXPECT_EQ(text(empty->toString()), u"java.io.IOException: ");
  EXPECT_EQ(text(empty->getMessage()), u"");
}

TEST(TextForms, IndexExceptionMessages) {
  VMTestEnv::start();
  struct Case {
    int32_t index;
    const char* suffix;
  };
  for (const Case& c : {Case{-1, "-1"}, Case{7, "7"}, Case{-2147483647 - 1, "-2147483648"}}) {
    VMPtr<java::lang::ArrayIndexOutOfBoundsException> a = java::lang::ArrayIndexOutOfBoundsException::_VM_new();
    a->_VM_init(c.index);
    EXPECT_EQ(text(a->getMessage()), u"Array index out of range: " + u16(c.suffix));
    VMPtr<java::lang::StringIndexOutOfBoundsException> s = java::lang::StringIndexOutOfBoundsException::_VM_new();
    s->_VM_init(c.index);
    EXPECT_EQ(text(s->getMessage()), u"String index out of range: " + u16(c.suffix));
  }
  // An array access outside the array.
  VMPtr<VMArray<int32_t>> array = VMArray<int32_t>::create(2);
  EXPECT_EQ(thrownMessage<java::lang::ArrayIndexOutOfBoundsException>([&] { array->at(2); }),
            "Array index out of range: 2");
}

// The classes of strings, numbers, characters, Math and System: registered
// under their dotted names below java.lang.Object, instantiable by
// Class.newInstance only where Java code may say `new X()`, and with a
// static initialiser only where constants come from the platform.
TEST(TextForms, ClassesAreRegistered) {
  VMTestEnv::start();
  struct Case {
    const char* name;
    const char* source;
    bool instantiable;
    bool initialiser;
  };
  const Case cases[] = {
      {"java.lang.String", "java_lang_String", true, false},
      {"java.lang.StringBuffer", "java_lang_StringBuffer", true, false},
      {"java.lang.Integer", "java_lang_Integer", false, false},
      {"java.lang.Long", "java_lang_Long", false, false},
      {"java.lang.Float", "java_lang_Float", false, true},
      {"java.lang.Double", "java_lang_Double", false, true},
      {"java.lang.Character", "java_lang_Character", false, false},
      {"java.lang.Math", "java_lang_Math", false, false},
      {"java.lang.System", "java_lang_System", false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    java::lang::Class* k = _VM_findClass(c.name);
    ASSERT_NE(k, nullptr);
    EXPECT_STREQ(k->_VM_superName.c_str(), "java.lang.Object");
    EXPECT_EQ(std::string(k->_VM_sourceFile.c_str()), std::string("target/winmo/pb_src/j2me/") + c.source);
    EXPECT_EQ(k->_VM_instantiator != nullptr, c.instantiable);
    EXPECT_EQ(k->_VM_clinit != nullptr, c.initialiser);
  }
}

}  // namespace
