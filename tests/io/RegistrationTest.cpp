// Every class of the collections and streams is registered under its Java
// name with its superclass, kind, source file and interfaces, and the
// instantiable ones give a working object through Class.newInstance.

#include <gtest/gtest.h>

#include <string>

#include "VMClassRegistry.h"
#include "VMJava.h"
#include "VMTestEnv.h"
#include "java_io_ByteArrayOutputStream.h"
#include "java_lang_Class.h"
#include "java_util_Hashtable.h"
#include "java_util_HashtableEntry.h"
#include "java_util_Random.h"
#include "java_util_Vector.h"

using java::lang::Class;
using java::lang::Object;

namespace {

TEST(Registration, EveryClassUnderItsNameAndSuperclass) {
  VMTestEnv::start();
  enum Kind { kPlain, kInstantiable, kAbstract, kInterface };
  struct Entry {
    const char* name;
    const char* super;
    Kind kind;
    const char* implements;
  };
  const Entry table[] = {
      {"java.util.Enumeration", "java.lang.Object", kInterface, nullptr},
      {"java.util.Vector", "java.lang.Object", kInstantiable, nullptr},
      {"java.util.VectorEnumerator", "java.lang.Object", kPlain, "java.util.Enumeration"},
      {"java.util.Hashtable", "java.lang.Object", kInstantiable, nullptr},
      {"java.util.HashtableEntry", "java.lang.Object", kInstantiable, nullptr},
      {"java.util.HashtableEnumerator", "java.lang.Object", kPlain, "java.util.Enumeration"},
      {"java.util.Random", "java.lang.Object", kInstantiable, nullptr},
      {"java.io.InputStream", "java.lang.Object", kAbstract, nullptr},
      {"java.io.OutputStream", "java.lang.Object", kAbstract, nullptr},
      {"java.io.ByteArrayInputStream", "java.io.InputStream", kPlain, nullptr},
      {"java.io.ByteArrayOutputStream", "java.io.OutputStream", kInstantiable, nullptr},
      {"java.io.DataInput", "java.lang.Object", kInterface, nullptr},
      {"java.io.DataOutput", "java.lang.Object", kInterface, nullptr},
      {"java.io.DataInputStream", "java.io.InputStream", kPlain, "java.io.DataInput"},
      {"java.io.DataOutputStream", "java.io.OutputStream", kPlain, "java.io.DataOutput"},
      {"java.io.Writer", "java.lang.Object", kAbstract, nullptr},
      {"java.io.OutputStreamWriter", "java.io.Writer", kPlain, nullptr},
      {"java.io.PrintStream", "java.io.OutputStream", kPlain, nullptr},
      {"com.ravelstone.brume.cldc.io.ConsoleOutputStream", "java.io.OutputStream", kInstantiable, nullptr},
      {"com.ravelstone.brume.cldc.io.ResourceInputStream", "java.io.InputStream", kPlain, nullptr},
  };
  for (const Entry& e : table) {
    SCOPED_TRACE(e.name);
    Class* c = _VM_findClass(e.name);
    ASSERT_NE(c, nullptr);
    EXPECT_STREQ(c->_VM_superName.c_str(), e.super);
    ASSERT_NE(_VM_getSuperclass(c), nullptr);
    EXPECT_EQ(c->_VM_isInterface, e.kind == kInterface);
    EXPECT_EQ(c->_VM_isAbstract, e.kind == kAbstract);
    EXPECT_EQ(c->_VM_instantiator != nullptr, e.kind == kInstantiable);
    std::string file = e.name;
    for (char& ch : file) ch = ch == '.' ? '_' : ch;
    EXPECT_EQ(std::string(c->_VM_sourceFile.c_str()), "target/winmo/pb_src/j2me/" + file);
    if (e.implements != nullptr) {
      EXPECT_TRUE(_VM_implementsInterface(c, _VM_findClass(e.implements)));
    }
    if (e.kind == kInstantiable) {
      VMPtr<Object> o = c->newInstance();
      EXPECT_EQ(o->_VM_getClass(), c);
    }
  }
}

TEST(Registration, NewInstanceRunsTheNoArgumentConstructors) {
  VMTestEnv::start();
  VMPtr<java::util::Vector> v = _VM_cast<java::util::Vector>(VMPtr<Class>(java::util::Vector::_VM_class)->newInstance());
  EXPECT_EQ(v->capacity(), 10);
  VMPtr<java::util::Hashtable> h =
      _VM_cast<java::util::Hashtable>(VMPtr<Class>(java::util::Hashtable::_VM_class)->newInstance());
  EXPECT_EQ(h->table->length, 11);
  VMPtr<java::io::ByteArrayOutputStream> out =
      _VM_cast<java::io::ByteArrayOutputStream>(VMPtr<Class>(java::io::ByteArrayOutputStream::_VM_class)->newInstance());
  EXPECT_EQ(out->buf->length, 32);
  VMPtr<java::util::Random> r = _VM_cast<java::util::Random>(VMPtr<Class>(java::util::Random::_VM_class)->newInstance());
  EXPECT_LE(r->seedHigh, 0xFFFFu);
}

}  // namespace
