// The exception family: registration, constructors and messages, and
// catching by run-time class through every superclass.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "VMExitException.h"
#include "VMJava.h"
#include "VMTestEnv.h"
#include "VMThrow.h"
#include "java_io_EOFException.h"
#include "java_io_IOException.h"
#include "java_io_UTFDataFormatException.h"
#include "java_io_UnsupportedEncodingException.h"
#include "java_lang_ArithmeticException.h"
#include "java_lang_ArrayIndexOutOfBoundsException.h"
#include "java_lang_ArrayStoreException.h"
#include "java_lang_ClassCastException.h"
#include "java_lang_ClassNotFoundException.h"
#include "java_lang_ExceptionInInitializerError.h"
#include "java_lang_IllegalAccessException.h"
#include "java_lang_IllegalMonitorStateException.h"
#include "java_lang_IllegalStateException.h"
#include "java_lang_IllegalThreadStateException.h"
#include "java_lang_InstantiationException.h"
#include "java_lang_InterruptedException.h"
#include "java_lang_NegativeArraySizeException.h"
#include "java_lang_NoClassDefFoundError.h"
#include "java_lang_NullPointerException.h"
#include "java_lang_NumberFormatException.h"
#include "java_lang_OutOfMemoryError.h"
#include "java_lang_SecurityException.h"
#include "java_lang_StringIndexOutOfBoundsException.h"
#include "java_util_NoSuchElementException.h"
#include "javax_microedition_io_ConnectionNotFoundException.h"
#include "javax_microedition_media_MediaException.h"
#include "javax_microedition_midlet_MIDletStateChangeException.h"
#include "javax_microedition_rms_InvalidRecordIDException.h"
#include "javax_microedition_rms_RecordStoreNotFoundException.h"
#include "javax_microedition_rms_RecordStoreNotOpenException.h"

using namespace java::lang;

namespace {

std::string utf8(VMPtr<String> s) {
  if (!s) return "<null>";
  VMCString text;
  s->_VM_toCString(text);
  return text.c_str();
}

// Every class with its superclass, as registered.
TEST(ExceptionFamily, EveryClassIsRegisteredUnderItsSuperclass) {
  VMTestEnv::start();
  const std::vector<std::pair<const char*, const char*>> table = {
      {"java.lang.Throwable", "java.lang.Object"},
      {"java.lang.Exception", "java.lang.Throwable"},
      {"java.lang.Error", "java.lang.Throwable"},
      {"java.lang.RuntimeException", "java.lang.Exception"},
      {"java.lang.VirtualMachineError", "java.lang.Error"},
      {"java.lang.OutOfMemoryError", "java.lang.VirtualMachineError"},
      {"java.lang.ExceptionInInitializerError", "java.lang.Error"},
      {"java.lang.NoClassDefFoundError", "java.lang.Error"},
      {"java.lang.ClassNotFoundException", "java.lang.Exception"},
      {"java.lang.InstantiationException", "java.lang.Exception"},
      {"java.lang.IllegalAccessException", "java.lang.Exception"},
      {"java.lang.InterruptedException", "java.lang.Exception"},
      {"java.lang.NullPointerException", "java.lang.RuntimeException"},
      {"java.lang.ClassCastException", "java.lang.RuntimeException"},
      {"java.lang.ArithmeticException", "java.lang.RuntimeException"},
      {"java.lang.IllegalArgumentException", "java.lang.RuntimeException"},
      {"java.lang.IllegalThreadStateException", "java.lang.IllegalArgumentException"},
      {"java.lang.NumberFormatException", "java.lang.IllegalArgumentException"},
      {"java.lang.IllegalMonitorStateException", "java.lang.RuntimeException"},
      {"java.lang.IllegalStateException", "java.lang.RuntimeException"},
      {"java.lang.NegativeArraySizeException", "java.lang.RuntimeException"},
      {"java.lang.ArrayStoreException", "java.lang.RuntimeException"},
      {"java.lang.IndexOutOfBoundsException", "java.lang.RuntimeException"},
      {"java.lang.ArrayIndexOutOfBoundsException", "java.lang.IndexOutOfBoundsException"},
      {"java.lang.StringIndexOutOfBoundsException", "java.lang.IndexOutOfBoundsException"},
      {"java.lang.SecurityException", "java.lang.RuntimeException"},
      {"java.util.NoSuchElementException", "java.lang.RuntimeException"},
      {"java.io.IOException", "java.lang.Exception"},
      {"java.io.EOFException", "java.io.IOException"},
      {"java.io.UTFDataFormatException", "java.io.IOException"},
      {"java.io.UnsupportedEncodingException", "java.io.IOException"},
      {"javax.microedition.io.ConnectionNotFoundException", "java.io.IOException"},
      {"javax.microedition.rms.RecordStoreException", "java.lang.Exception"},
      {"javax.microedition.rms.RecordStoreNotFoundException", "javax.microedition.rms.RecordStoreException"},
      {"javax.microedition.rms.RecordStoreNotOpenException", "javax.microedition.rms.RecordStoreException"},
      {"javax.microedition.rms.InvalidRecordIDException", "javax.microedition.rms.RecordStoreException"},
      {"javax.microedition.media.MediaException", "java.lang.Exception"},
      {"javax.microedition.midlet.MIDletStateChangeException", "java.lang.Exception"},
      {"java.lang.Object", ""},
      {"java.lang.Class", "java.lang.Object"},
      {"java.lang.String", "java.lang.Object"},
  };
  for (const auto& [name, super] : table) {
    Class* c = _VM_findClass(name);
    ASSERT_NE(c, nullptr) << name;
    EXPECT_STREQ(c->_VM_superName.c_str(), super) << name;
    if (*super != '\0') {
      ASSERT_NE(_VM_getSuperclass(c), nullptr) << name;
      EXPECT_STREQ(_VM_getSuperclass(c)->_VM_name.c_str(), super);
    }
    // Class.newInstance of each gives an object without a message.
    if (c->_VM_instantiator != nullptr && std::string(name).find("Exception") != std::string::npos) {
      VMPtr<Object> o = c->newInstance();
      EXPECT_EQ(o->_VM_getClass(), c);
      EXPECT_TRUE(_VM_cast<Throwable>(o)->getMessage().isNull()) << name;
    }
  }
  EXPECT_STREQ(_VM_findClass("java.io.EOFException")->_VM_sourceFile.c_str(),
               "target/winmo/pb_src/j2me/java_io_EOFException");
}

// Throws a new E and reports which of the handlers in Catchers caught it,
// one by one: the first matching handler wins, as in a Java try.
template <class E, class Caught>
bool caughtAs() {
  try {
    _VM_throwNew<E>();
  } catch (Caught* c) {
    VMPtr<Object> bound(c);
    return true;
  } catch (...) {
    return false;
  }
}

template <class E, class Super>
void expectCaughtBy() {
  EXPECT_TRUE((caughtAs<E, Super>())) << typeid(E).name() << " by " << typeid(Super).name();
}

template <class E, class... Supers>
void expectCaughtByEach() {
  (expectCaughtBy<E, Supers>(), ...);
}

TEST(ExceptionFamily, EachIsCaughtByEveryOneOfItsSuperclasses) {
  VMTestEnv::start();
  expectCaughtByEach<OutOfMemoryError, OutOfMemoryError, VirtualMachineError, Error, Throwable, VMException,
                     Object>();
  expectCaughtByEach<ArrayIndexOutOfBoundsException, IndexOutOfBoundsException, RuntimeException, Exception,
                     Throwable>();
  expectCaughtByEach<StringIndexOutOfBoundsException, IndexOutOfBoundsException>();
  expectCaughtByEach<NumberFormatException, IllegalArgumentException, RuntimeException>();
  expectCaughtByEach<IllegalThreadStateException, IllegalArgumentException>();
  expectCaughtByEach<java::io::EOFException, java::io::IOException, Exception>();
  expectCaughtByEach<java::io::UTFDataFormatException, java::io::IOException>();
  expectCaughtByEach<java::io::UnsupportedEncodingException, java::io::IOException>();
  expectCaughtByEach<javax::microedition::io::ConnectionNotFoundException, java::io::IOException>();
  expectCaughtByEach<javax::microedition::rms::RecordStoreNotFoundException,
                     javax::microedition::rms::RecordStoreException>();
  expectCaughtByEach<javax::microedition::rms::RecordStoreNotOpenException,
                     javax::microedition::rms::RecordStoreException>();
  expectCaughtByEach<javax::microedition::rms::InvalidRecordIDException,
                     javax::microedition::rms::RecordStoreException, Exception>();
  expectCaughtByEach<javax::microedition::media::MediaException, Exception>();
  expectCaughtByEach<javax::microedition::midlet::MIDletStateChangeException, Exception>();
  expectCaughtByEach<NoClassDefFoundError, Error>();
  expectCaughtByEach<ArithmeticException, RuntimeException>();
  expectCaughtByEach<ClassCastException, RuntimeException>();
  expectCaughtByEach<java::util::NoSuchElementException, RuntimeException>();
  // And never by an unrelated class.
  EXPECT_FALSE((caughtAs<NumberFormatException, java::io::IOException>()));
  EXPECT_FALSE((caughtAs<OutOfMemoryError, Exception>()));
  EXPECT_FALSE((caughtAs<java::io::EOFException, RuntimeException>()));
}

// A throw through a variable of a superclass type still carries the
// object's own class (the rethrow of a finally block, for example).
TEST(ExceptionFamily, RethrowThroughASuperclassVariableKeepsTheClass) {
  VMTestEnv::start();
  try {
    try {
      _VM_throwNew<java::io::IOException>("x");
    } catch (Throwable* t) {
      VMPtr<Throwable> held(t);
      _VM_throw(held);  // a finally block's rethrow
    }
  } catch (java::io::IOException* e) {
    VMPtr<java::io::IOException> bound(e);
    EXPECT_EQ(utf8(bound->getMessage()), "x");
    return;
  }
  FAIL();
}

TEST(ExceptionFamily, TheExitCarrierPassesEveryJavaHandler) {
  VMTestEnv::start();
  bool javaHandlerRan = false;
  try {
    try {
      _VM_throw(VMExitException::_VM_new(3));
    } catch (Throwable* t) {
      javaHandlerRan = true;
    }
  } catch (VMExitException* e) {
    EXPECT_EQ(e->status, 3);
  }
  EXPECT_FALSE(javaHandlerRan);
}

TEST(ExceptionFamily, MessagesAndTextForms) {
  VMTestEnv::start();
  struct Case {
    VMPtr<Throwable> thrown;
    const char* message;
    const char* text;
  };
  VMPtr<Throwable> plain = Throwable::_VM_new();
  plain->_VM_init();
  VMPtr<java::io::IOException> io = java::io::IOException::_VM_new();
  io->_VM_init(String::_VM_fromUTF8("x"));
  VMPtr<java::io::IOException> empty = java::io::IOException::_VM_new();
  empty->_VM_init(String::_VM_fromUTF8(""));
  VMPtr<ArrayIndexOutOfBoundsException> array = ArrayIndexOutOfBoundsException::_VM_new();
  array->_VM_init(-1);
  VMPtr<StringIndexOutOfBoundsException> string = StringIndexOutOfBoundsException::_VM_new();
  string->_VM_init(7);
  const Case cases[] = {
      {plain, "<null>", "java.lang.Throwable"},
      {io, "x", "java.io.IOException: x"},
      {empty, "", "java.io.IOException: "},
      {array, "Array index out of range: -1", "java.lang.ArrayIndexOutOfBoundsException: Array index out of range: -1"},
      {string, "String index out of range: 7",
       "java.lang.StringIndexOutOfBoundsException: String index out of range: 7"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(utf8(c.thrown->getMessage()), c.message);
    EXPECT_EQ(utf8(c.thrown->toString()), c.text);
  }
  VMPtr<ExceptionInInitializerError> wrapper = ExceptionInInitializerError::_VM_new();
  wrapper->_VM_init();
  EXPECT_TRUE(wrapper->getException().isNull());
}

TEST(ExceptionFamily, PrintStackTraceWritesTheTwoLines) {
  VMTestEnv::start();
  VMPtr<java::io::IOException> empty = java::io::IOException::_VM_new();
  empty->_VM_init(String::_VM_fromUTF8(""));
  VMPtr<NullPointerException> npe = NullPointerException::_VM_new();
  npe->_VM_init();
  testing::internal::CaptureStdout();
  empty->printStackTrace();
  npe->printStackTrace();
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Exception java.io.IOException: \n    at <unknown>\n"
            "Exception java.lang.NullPointerException\n    at <unknown>\n");
  _VM_currentThreadName = [](VMPtr<String>& name) {
    name = String::_VM_fromUTF8("Thread-1");
    return true;
  };
  testing::internal::CaptureStdout();
  npe->printStackTrace();
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Exception in thread \"Thread-1\" java.lang.NullPointerException\n    at <unknown>\n");
}

}  // namespace
