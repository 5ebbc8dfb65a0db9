// Integer, Long, Float, Double, Character and Math. Radix text and
// parseInt are also checked against Java 17 in JavaTablesTest.cpp; this
// file holds this system's own rules: the parse messages, the "%G" float
// text, the Latin-1 character tables, and where they differ from Java SE.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "StringTestSupport.h"
#include "VMTestEnv.h"
#include "java_lang_Character.h"
#include "java_lang_Double.h"
#include "java_lang_Float.h"
#include "java_lang_Integer.h"
#include "java_lang_Long.h"
#include "java_lang_Math.h"
#include "java_lang_NullPointerException.h"
#include "java_lang_NumberFormatException.h"
#include "java_lang_String.h"

using java::lang::Character;
using java::lang::Double;
using java::lang::Float;
using java::lang::Integer;
using java::lang::Long;
using java::lang::Math;
using java::lang::NumberFormatException;
using java::lang::Object;
using java::lang::String;
using namespace strings_test;

namespace {

VMPtr<Integer> boxed(int32_t v) {
  VMPtr<Integer> n = Integer::_VM_new();
  return n->_VM_init(v);
}

VMPtr<Long> boxed(int64_t v) {
  VMPtr<Long> n = Long::_VM_new();
  return n->_VM_init(v);
}

TEST(Integer, BoxHashEqualsAndText) {
  VMTestEnv::start();
  VMPtr<Integer> a = boxed(-42);
  EXPECT_EQ(a->hashCode(), -42);
  EXPECT_TRUE(a->equals(boxed(-42)));
  EXPECT_FALSE(a->equals(boxed(42)));
  EXPECT_FALSE(a->equals(boxed(int64_t{-42})));
  EXPECT_FALSE(a->equals(VMPtr<Object>()));
  EXPECT_FALSE(a->equals(jstr(u"-42")));
  EXPECT_EQ(text(a->toString()), u"-42");
  EXPECT_EQ(a->value, -42);
}

TEST(Long, BoxHashEqualsAndText) {
  VMTestEnv::start();
  EXPECT_EQ(boxed(int64_t{0x100000001})->hashCode(), 0);
  EXPECT_EQ(boxed(int64_t{-1})->hashCode(), 0);
  EXPECT_EQ(boxed(int64_t{0x123456789})->hashCode(), 0x23456788);
  VMPtr<Long> l = boxed(int64_t{-9223372036854775807 - 1});
  EXPECT_EQ(text(l->toString()), u"-9223372036854775808");
  EXPECT_TRUE(l->equals(boxed(int64_t{-9223372036854775807 - 1})));
  EXPECT_FALSE(l->equals(boxed(int32_t{0})));
  EXPECT_FALSE(l->equals(VMPtr<Object>()));
}

TEST(Integer, RadixTextEdgeCases) {
  VMTestEnv::start();
  EXPECT_EQ(text(Integer::toString(-2147483647 - 1, 10)), u"-2147483648");
  EXPECT_EQ(text(Integer::toString(255, 16)), u"ff");
  EXPECT_EQ(text(Integer::toString(10, 1)), u"10");
  EXPECT_EQ(text(Integer::toString(-35, 36)), u"-z");
  EXPECT_EQ(text(Integer::toHexString(-1)), u"ffffffff");
  EXPECT_EQ(text(Integer::toHexString(0)), u"0");
  EXPECT_EQ(text(Long::toString(INT64_MIN, 2)), u"-1" + std::u16string(63, u'0'));
}

TEST(Integer, ParseIntMessagesAndOrder) {
  VMTestEnv::start();
  struct Case {
    std::u16string s;
    int32_t radix;
    const char* message;
  };
  const Case cases[] = {
      {u"", 10, "empty String"},
      {u"", 99, "empty String"},  // before the radix checks
      {u"1", 1, "radix less than Character.MIN_RADIX"},
      {u"1", 37, "radix greater than Character.MAX_RADIX"},
      {u"2147483648", 10, "2147483648"},
      {u"-2147483649", 10, "-2147483649"},
      {u"-", 10, "-"},
      {u"12a", 10, "12a"},
      // No '+' sign (Java SE accepts it).
      {u"+5", 10, "+5"},
      // Only ASCII letters are digits: U+00C0 is no 9, and the full-width and
      // Arabic-Indic digits that Java SE accepts are none either.
      {u"\u00c0", 10, "\\u00c0"},
      {u"\u00c0", 36, "\\u00c0"},
      {u"\uff11", 10, "\\uff11"},
      {u"\u0661", 10, "\\u0661"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(show(c.s));
    EXPECT_EQ(thrownMessage<NumberFormatException>([&] { Integer::parseInt(jstr(c.s), c.radix); }), c.message);
  }
  // Null is a NullPointerException (Java SE: NumberFormatException).
  EXPECT_EQ(thrownMessage<java::lang::NullPointerException>([] { Integer::parseInt(VMPtr<String>()); }), "<null>");
  EXPECT_EQ(Integer::parseInt(jstr(u"-2147483648")), -2147483647 - 1);
  EXPECT_EQ(Integer::parseInt(jstr(u"2147483647")), 2147483647);
  EXPECT_EQ(Integer::parseInt(jstr(u"-0")), 0);
  EXPECT_EQ(Integer::parseInt(jstr(u"Zz"), 36), 36 * 35 + 35);
  EXPECT_EQ(Integer::parseInt(jstr(u"x-12x")->substring(1, 4)), -12);
}

TEST(Float, ConstantsComeFromThePlatformBits) {
  VMTestEnv::start();
  Float::_VM_clinitCheck();
  Double::_VM_clinitCheck();
  auto floatBits = [](float f) {
    uint32_t b;
    std::memcpy(&b, &f, sizeof b);
    return b;
  };
  auto doubleBits = [](double d) {
    uint64_t b;
    std::memcpy(&b, &d, sizeof b);
    return b;
  };
  EXPECT_EQ(floatBits(Float::MAX_VALUE), 0x7F7FFFFFu);
  EXPECT_EQ(floatBits(Float::MIN_VALUE), 0x00000001u);
  EXPECT_EQ(floatBits(Float::NaN), 0x7FC00000u);
  EXPECT_EQ(floatBits(Float::NEGATIVE_INFINITY), 0xFF800000u);
  EXPECT_EQ(floatBits(Float::POSITIVE_INFINITY), 0x7F800000u);
  EXPECT_EQ(doubleBits(Double::MAX_VALUE), 0x7FEFFFFFFFFFFFFFull);
  EXPECT_EQ(doubleBits(Double::MIN_VALUE), 0x0000000000000001ull);
  EXPECT_EQ(doubleBits(Double::NaN), 0x7FF8000000000000ull);
  EXPECT_EQ(doubleBits(Double::NEGATIVE_INFINITY), 0xFFF0000000000000ull);
  EXPECT_EQ(doubleBits(Double::POSITIVE_INFINITY), 0x7FF0000000000000ull);
}

// Float and double text is the platform's "%G" form with a two-digit
// exponent, not Java SE's ("1" where Java SE prints "1.0", "NAN" for
// "NaN", "INF" for "Infinity").
TEST(Double, TextIsThePercentGForm) {
  VMTestEnv::start();
  Double::_VM_clinitCheck();
  Float::_VM_clinitCheck();
  struct Case {
    double d;
    const char* text;
  };
  const Case cases[] = {{1.0, "1"},
                        {0.5, "0.5"},
                        {1234567.0, "1.23457E+06"},
                        {123456.0, "123456"},
                        {999999.5, "1E+06"},
                        {0.0001, "0.0001"},
                        {0.00001, "1E-05"},
                        {1e100, "1E+100"},
                        {-2.5e-300, "-2.5E-300"},
                        {0.0, "0"},
                        {-0.0, "-0"},
                        {Double::MAX_VALUE, "1.79769E+308"},
                        {Double::MIN_VALUE, "4.94066E-324"},
                        {Double::POSITIVE_INFINITY, "INF"},
                        {Double::NEGATIVE_INFINITY, "-INF"},
                        {Double::NaN, "NAN"},
                        {-Double::NaN, "NAN"},
                        {std::numeric_limits<double>::signaling_NaN(), "NAN"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(text(Double::toString(c.d)), u16(c.text));
  }
  EXPECT_EQ(text(Float::toString(0.1f)), u"0.1");
  EXPECT_EQ(text(Float::toString(Float::MAX_VALUE)), u"3.40282E+38");
  EXPECT_EQ(text(Float::toString(Float::MIN_VALUE)), u"1.4013E-45");
  EXPECT_EQ(text(Float::toString(-Float::NaN)), u"NAN");
  EXPECT_EQ(text(Float::toString(Float::NEGATIVE_INFINITY)), u"-INF");
}

// The text is built without the C library's formatted output (whose
// decimal point follows the locale); it matches "%G" in the "C" locale.
TEST(Double, TextMatchesTheCLibraryInTheCLocale) {
  VMTestEnv::start();
  std::mt19937_64 random(12345);
  for (int i = 0; i < 20000; ++i) {
    double d;
    if (i % 2 == 0) {
      const uint64_t bits = random();
      std::memcpy(&d, &bits, sizeof d);
    } else {
      d = std::ldexp(static_cast<double>(random() % 2000000) - 1000000.0, static_cast<int>(random() % 80) - 40);
    }
    if (std::isnan(d)) continue;
    char expected[32];
    std::snprintf(expected, sizeof expected, "%G", d);
    ASSERT_EQ(text(Double::toString(d)), u16(expected)) << expected;
  }
}

// Character classes of every character, from the Latin-1 ranges.
TEST(Character, ClassesAndCaseOfEveryCharacter) {
  VMTestEnv::start();
  for (int32_t i = 0; i <= 0xFFFF; ++i) {
    const auto c = static_cast<char16_t>(i);
    const bool digit = c >= u'0' && c <= u'9';
    const bool upper = (c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7);
    const bool lower = (c >= u'a' && c <= u'z') || (c >= 0xDF && c <= 0xFF && c != 0xF7);
    const bool hasUpper = lower && c != 0xDF && c != 0xFF;
    ASSERT_EQ(Character::isDigit(c), digit) << i;
    ASSERT_EQ(Character::isUpperCase(c), upper) << i;
    ASSERT_EQ(Character::isLowerCase(c), lower) << i;
    ASSERT_EQ(Character::toLowerCase(c), upper ? c + 0x20 : c) << i;
    ASSERT_EQ(Character::toUpperCase(c), hasUpper ? c - 0x20 : c) << i;
  }
  EXPECT_EQ(Character::toUpperCase(0xFF), 0xFF);
  EXPECT_EQ(Character::toLowerCase(0xD7), 0xD7);
  EXPECT_TRUE(Character::isLowerCase(0xDF));
  EXPECT_FALSE(Character::isLowerCase(0xB5));  // Java SE: true (micro sign)
}

// Only ASCII letters are digits above 9; every other letter is no digit
// (U+00C0 would otherwise read as 9).
TEST(Character, DigitValues) {
  VMTestEnv::start();
  for (int32_t radix = -1; radix <= 38; ++radix) {
    for (int32_t i = 0; i <= 0xFFFF; ++i) {
      const auto c = static_cast<char16_t>(i);
      int32_t value = -1;
      if (c >= u'0' && c <= u'9') value = c - u'0';
      if (c >= u'a' && c <= u'z') value = c - u'a' + 10;
      if (c >= u'A' && c <= u'Z') value = c - u'A' + 10;
      if (radix < 2 || radix > 36 || value >= radix) value = -1;
      ASSERT_EQ(Character::digit(c, radix), value) << i << " radix " << radix;
    }
  }
  EXPECT_EQ(Character::MIN_RADIX, 2);
  EXPECT_EQ(Character::MAX_RADIX, 36);
}

TEST(Math, IntMinMaxAbs) {
  EXPECT_EQ(Math::min(3, -4), -4);
  EXPECT_EQ(Math::max(3, -4), 3);
  EXPECT_EQ(Math::min(INT32_MIN, INT32_MAX), INT32_MIN);
  EXPECT_EQ(Math::max(INT32_MIN, INT32_MAX), INT32_MAX);
  EXPECT_EQ(Math::abs(-7), 7);
  EXPECT_EQ(Math::abs(7), 7);
  EXPECT_EQ(Math::abs(INT32_MIN), INT32_MIN);
}

}  // namespace
