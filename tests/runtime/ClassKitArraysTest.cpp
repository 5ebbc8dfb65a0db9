// The arrays example of docs/class-kit.md, compiled and run as the guide
// shows, so the guide stays true.
#include <gtest/gtest.h>

#include "VMArray.h"
#include "VMJava.h"
#include "VMTestEnv.h"
#include "java_lang_ArrayStoreException.h"
#include "java_lang_String.h"

namespace {

// static int countSet(Object[] items): any array of references will do.
int32_t countSet(VMPtr<VMArray<java::lang::Object>> items) {
  int32_t n = 0;
  for (int32_t i = 0; i < _VM_length(items); ++i) {
    if (items->get(i)) ++n;
  }
  return n;
}

TEST(ClassKitExample, TheGuidesArraysWorkAsShown) {
  VMTestEnv::start();
  VMPtr<VMArray<java::lang::String>> words = VMArray<java::lang::String>::create(3);
  words->set(0, java::lang::String::_VM_fromUTF8("a"));
  VMPtr<VMArray<java::lang::Object>> all = words;  // Object[] all = words;
  all->set(1, java::lang::String::_VM_fromUTF8("b"));  // words[1] is "b" too
  int32_t set = countSet(words);                   // 2
  VMPtr<VMArray<java::lang::String>> back = _VM_cast<VMArray<java::lang::String>>(all);
  bool refused = false;
  try {
    all->set(2, java::lang::Object::_VM_new());   // not a String
  } catch (java::lang::ArrayStoreException* e) {
    VMPtr<java::lang::ArrayStoreException> error(e);
    refused = true;
  }
  VMPtr<VMArray<int32_t, 2>> grid = VMArray<int32_t, 2>::createMulti(2, 3, 4);  // new int[3][4]
  grid->get(1)->at(2) = 7;
  VMPtr<VMArray<java::lang::Object>> rows = grid;  // an int[][] is an Object[]

  EXPECT_TRUE(words->get(1)->_VM_equals("b"));
  EXPECT_EQ(set, 2);
  EXPECT_EQ(back.getObject(), words.getObject());
  EXPECT_TRUE(refused);
  EXPECT_TRUE(words->get(2).isNull());
  EXPECT_EQ(_VM_cast<VMArray<int32_t>>(rows->get(1))->at(2), 7);
}

}  // namespace
