// Arrays: creation, zero filling, bounds checks, the store check and
// multi-dimensional creation.
#include <gtest/gtest.h>

#include "VMArray.h"
#include "VMJava.h"
#include "VMTestEnv.h"
#include "java_lang_ArrayIndexOutOfBoundsException.h"
#include "java_lang_ArrayStoreException.h"
#include "java_lang_NegativeArraySizeException.h"
#include "java_lang_String.h"

using namespace java::lang;

namespace {

int liveArrays() {
  int n = 0;
  for (uint32_t i = 0; i < _VM_objects().count; ++i) n += dynamic_cast<VMArray_Base*>(_VM_objects()[i]) != nullptr;
  return n;
}

TEST(Array, NewArraysAreZeroFilledWithTheirKindAndElementSize) {
  VMTestEnv::start();
  VMPtr<VMArray<int64_t>> longs = VMArray<int64_t>::create(3);
  EXPECT_EQ(longs->length, 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(longs->at(i), 0);
  EXPECT_EQ(longs->_VM_kind, VM_KIND_LONG);
  EXPECT_EQ(longs->_VM_elementSize, 8);
  VMPtr<VMArray<String>> strings = VMArray<String>::create(3);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(strings->get(i).isNull());
  EXPECT_EQ(strings->_VM_kind, VM_KIND_REFERENCE);
  EXPECT_EQ(strings->_VM_elementSize, 8) << "references are pointers";
  VMPtr<VMArray<int32_t>> empty = VMArray<int32_t>::create(0);
  EXPECT_EQ(empty->length, 0);
  EXPECT_NE(empty->_VM_data, nullptr);
  const int32_t sizes[] = {0, 4, 4, 8, 1, 1, 2, 2, 0, 4, 8, 0};
  const int32_t kinds[] = {0, 1, 6, 7, 4, 8, 5, 9, 2, 10, 11, 12};
  for (size_t i = 0; i < std::size(kinds); ++i) {
    EXPECT_EQ(VMArray_Base::getElementSize(kinds[i]), kinds[i] == 1 ? 8 : sizes[i]) << kinds[i];
  }
}

TEST(Array, NegativeLengthsThrowBeforeAnythingIsAllocated) {
  VMTestEnv::start();
  EXPECT_THROW(VMArray<int32_t>::create(-1), NegativeArraySizeException*);
  const int arrays = liveArrays();
  EXPECT_THROW((VMArray<int32_t, 2>::createMulti(2, 3, -1)), NegativeArraySizeException*);
  EXPECT_THROW((VMArray<int32_t, 2>::createMulti(2, -3, 1)), NegativeArraySizeException*);
  EXPECT_EQ(liveArrays(), arrays);
}

TEST(Array, EveryAccessIsBoundsChecked) {
  VMTestEnv::start();
  VMPtr<VMArray<int32_t>> ints = VMArray<int32_t>::create(2);
  VMPtr<VMArray<String>> strings = VMArray<String>::create(2);
  for (int32_t index : {-1, 2, INT32_MIN, INT32_MAX}) {
    try {
      ints->at(index) = 1;
      FAIL() << index;
    } catch (ArrayIndexOutOfBoundsException* e) {
      VMPtr<ArrayIndexOutOfBoundsException> error(e);
      VMCString expected("Array index out of range: ");
      expected.append(std::to_string(index).c_str());
      EXPECT_TRUE(error->getMessage()->_VM_equals(expected.c_str()));
    }
    EXPECT_THROW(strings->get(index), ArrayIndexOutOfBoundsException*);
    EXPECT_THROW(strings->set(index, nullptr), ArrayIndexOutOfBoundsException*);
    EXPECT_THROW(strings->getObject(index), ArrayIndexOutOfBoundsException*);
    EXPECT_THROW(ints->setObject(index, nullptr), ArrayIndexOutOfBoundsException*);
  }
  ints->at(1) = 7;
  EXPECT_EQ(ints->at(1), 7);
}

TEST(Array, UntypedStoresAreStoreChecked) {
  VMTestEnv::start();
  VMPtr<VMArray<String>> strings = VMArray<String>::create(2);
  VMPtr<String> s = String::_VM_fromUTF8("s");
  VMPtr<Object> o = Object::_VM_new();
  VMPtr<VMArray_Base> untyped = strings;
  untyped->setObject(0, s.get());
  EXPECT_EQ(untyped->getObject(0), static_cast<Object*>(s.get()));
  EXPECT_THROW(untyped->setObject(1, o.get()), ArrayStoreException*);
  EXPECT_TRUE(strings->get(1).isNull()) << "the failed store changed nothing";
  untyped->setObject(0, nullptr);
  EXPECT_TRUE(strings->get(0).isNull());
  // Primitive arrays have no objects to give or take.
  VMPtr<VMArray<int32_t>> ints = VMArray<int32_t>::create(1);
  ints->at(0) = 5;
  EXPECT_EQ(ints->getObject(0), nullptr);
  ints->setObject(0, o.get());
  EXPECT_EQ(ints->at(0), 5);
}

TEST(Array, MultiDimensionalCreationHonoursItsCount) {
  VMTestEnv::start();
  using Rows = VMArray<int32_t, 2>;
  VMPtr<Rows> empties = Rows::createMulti(2, 3, 0);  // new int[3][0]
  for (int i = 0; i < 3; ++i) {
    ASSERT_FALSE(empties->get(i).isNull());
    EXPECT_EQ(empties->get(i)->length, 0);
  }
  VMPtr<Rows> nulls = Rows::createMulti(1, 3);  // new int[3][]
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(nulls->get(i).isNull());
  VMPtr<Rows> grid = Rows::createMulti(2, 3, 2);
  EXPECT_NE(grid->get(0).get(), grid->get(1).get());
  grid->get(2)->at(1) = 9;
  EXPECT_EQ(grid->get(2)->at(1), 9);
  EXPECT_EQ(grid->get(1)->at(1), 0);
  EXPECT_EQ(grid->_VM_getClass(), Rows::classObject());
}

}  // namespace
