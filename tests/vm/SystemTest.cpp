// System and Runtime.
#include <gtest/gtest.h>

#include <ctime>

#include "VMExitException.h"
#include "VMHeap.h"
#include "VMTestEnv.h"
#include "java_lang_IllegalArgumentException.h"
#include "java_lang_NullPointerException.h"
#include "java_lang_Runtime.h"
#include "java_lang_SecurityException.h"
#include "java_lang_String.h"
#include "java_lang_System.h"

using namespace java::lang;

namespace {

std::string messageOf(Throwable* t) {
  VMPtr<Throwable> held(t);
  VMCString text;
  held->getMessage()->_VM_toCString(text);
  return text.c_str();
}

TEST(Runtime, ExitNeedsTheExitAllowedFlag) {
  VMTestEnv::start();
  VMPtr<Runtime> runtime = Runtime::getRuntime();
  EXPECT_EQ(runtime.get(), Runtime::getRuntime().get()) << "one Runtime";
  try {
    runtime->exit(3);
  } catch (SecurityException* e) {
    EXPECT_EQ(messageOf(e), "MIDP lifecycle does not support system exit.");
  }
  runtime->_VM_setExitAllowed(1);
  bool javaHandlerRan = false;
  try {
    try {
      System::exit(3);
    } catch (Throwable* t) {
      javaHandlerRan = true;
    }
  } catch (VMExitException* e) {
    EXPECT_EQ(e->status, 3);
  }
  EXPECT_FALSE(javaHandlerRan);
}

TEST(Runtime, MemoryFiguresAndCollection) {
  VMTestEnv::start(8 << 20, 8 << 20);
  VMPtr<Runtime> runtime = Runtime::getRuntime();
  EXPECT_EQ(runtime->totalMemory(), 8 << 20);
  const int64_t before = runtime->freeMemory();
  VMPtr<VMArray<int8_t>> block = VMArray<int8_t>::create(1 << 20);
  EXPECT_LE(runtime->freeMemory(), before - (1 << 20));
  block = nullptr;
  System::gc();
  EXPECT_GT(runtime->freeMemory(), before - (1 << 20));
}

TEST(System, GetPropertyChecksItsKeyAndAsksThePlatform) {
  VMTestEnv::start();
  try {
    System::getProperty(VMPtr<String>());
    FAIL();
  } catch (NullPointerException* e) {
    EXPECT_EQ(messageOf(e), "key can't be null");
  }
  try {
    System::getProperty(String::_VM_fromUTF8(""));
    FAIL();
  } catch (IllegalArgumentException* e) {
    EXPECT_EQ(messageOf(e), "key can't be empty");
  }
  EXPECT_TRUE(System::getProperty(String::_VM_fromUTF8("no.such.key")).isNull());
  _VM_lookupSystemProperty = [](const char* key, std::u16string& value) {
    if (std::string(key) != "microedition.platform") return false;
    value = u"jme\u00e9";
    return true;
  };
  EXPECT_TRUE(System::getProperty(String::_VM_fromUTF8("microedition.platform"))->_VM_equals("jme\xc3\xa9"));
  EXPECT_TRUE(System::getProperty(String::_VM_fromUTF8("other")).isNull());
}

TEST(System, OutAndErrAreOneStreamAndTheClockIsEpochTime) {
  VMTestEnv::start();
  System::_VM_clinitCheck();
  EXPECT_FALSE(System::out.isNull());
  EXPECT_TRUE(System::out == System::err);
  const int64_t now = System::currentTimeMillis();
  EXPECT_LT(std::llabs(now - static_cast<int64_t>(std::time(nullptr)) * 1000), 5000);
}

}  // namespace
