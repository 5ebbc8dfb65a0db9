// Java arithmetic and casts as translated code sees them.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "VMArray.h"
#include "VMJava.h"
#include "VMTestEnv.h"
#include "java_lang_ArithmeticException.h"
#include "java_lang_ClassCastException.h"
#include "java_lang_String.h"

using namespace java::lang;

namespace {

TEST(JavaSemantics, DivisionAndRemainder) {
  VMTestEnv::start();
  struct Case {
    int32_t a, b, quotient, remainder;
  };
  const Case cases[] = {
      {7, 2, 3, 1},   {-7, 2, -3, -1}, {7, -2, -3, 1}, {INT32_MIN, -1, INT32_MIN, 0}, {INT32_MIN, 1, INT32_MIN, 0},
      {0, 5, 0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(_VM_div(c.a, c.b), c.quotient);
    EXPECT_EQ(_VM_rem(c.a, c.b), c.remainder);
  }
  EXPECT_EQ(_VM_div(INT64_MIN, int64_t{-1}), INT64_MIN);
  EXPECT_EQ(_VM_rem(INT64_MIN, int64_t{-1}), 0);
  try {
    _VM_div(1, 0);
    FAIL();
  } catch (ArithmeticException* e) {
    VMPtr<ArithmeticException> error(e);
    EXPECT_TRUE(error->getMessage()->_VM_equals("/ by zero"));
  }
  EXPECT_THROW(_VM_rem(int64_t{1}, int64_t{0}), ArithmeticException*);
}

TEST(JavaSemantics, ShiftsMaskTheirCount) {
  EXPECT_EQ(_VM_shl(1, 33), 2);
  EXPECT_EQ(_VM_shl(int64_t{1}, 65), 2);
  EXPECT_EQ(_VM_shr(-8, 33), -4);
  EXPECT_EQ(_VM_ushr(-1, 28), 15);
  EXPECT_EQ(_VM_ushr(-1, 60), 15);
  EXPECT_EQ(_VM_ushr(int64_t{-1}, 60), 15);
  EXPECT_EQ(_VM_shl(1, 31), INT32_MIN);
  EXPECT_EQ(_VM_shl(1, -1), INT32_MIN);
}

TEST(JavaSemantics, FloatToIntegerSaturates) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(_VM_d2i(nan), 0);
  EXPECT_EQ(_VM_d2i(inf), INT32_MAX);
  EXPECT_EQ(_VM_d2i(-inf), INT32_MIN);
  EXPECT_EQ(_VM_d2i(3e9), INT32_MAX);
  EXPECT_EQ(_VM_d2i(2147483647.5), INT32_MAX);
  EXPECT_EQ(_VM_d2i(-2147483648.9), INT32_MIN);
  EXPECT_EQ(_VM_d2i(-1.9), -1);
  EXPECT_EQ(_VM_d2l(1e19), INT64_MAX);
  EXPECT_EQ(_VM_d2l(-1e19), INT64_MIN);
  EXPECT_EQ(_VM_f2i(std::nanf("")), 0);
  EXPECT_EQ(_VM_f2i(2147483648.0f), INT32_MAX);
  EXPECT_EQ(_VM_f2l(9.3e18f), INT64_MAX);
  EXPECT_EQ(_VM_f2i(123.75f), 123);
}

TEST(JavaSemantics, SignExtensionAndNarrowing) {
  EXPECT_EQ(_VM_signExtend(0x7, 3), -1);
  EXPECT_EQ(_VM_signExtend(0x3, 3), 3);
  EXPECT_EQ(_VM_signExtend(0x80, 8), -128);
  EXPECT_EQ(_VM_signExtend(0xFFFFFFFF, 32), -1);
  EXPECT_EQ(_VM_i2b(200), -56);
  EXPECT_EQ(_VM_i2s(40000), -25536);
  EXPECT_EQ(_VM_i2c(-1), u'\xFFFF');
}

TEST(JavaSemantics, CheckedCasts) {
  VMTestEnv::start();
  VMPtr<Object> s = String::_VM_fromUTF8("s");
  VMPtr<Object> o = Object::_VM_new();
  EXPECT_EQ(_VM_cast<String>(s).get(), s.get());
  EXPECT_TRUE(_VM_cast<String>(VMPtr<Object>()).isNull());
  EXPECT_THROW(_VM_cast<String>(o), ClassCastException*);
  VMPtr<Object> ints = VMArray<int32_t>::create(1);
  EXPECT_THROW(_VM_cast<VMArray<int8_t>>(ints), ClassCastException*);
  EXPECT_EQ(_VM_cast<VMArray<int32_t>>(ints)->length, 1);
}

}  // namespace
