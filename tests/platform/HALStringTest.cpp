#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "HALString.h"

namespace {

std::u16string text(const HALString& s) {
  return s.chars() ? std::u16string(s.chars(), static_cast<size_t>(s.length())) : u"(empty)";
}

// A heap record holding `t`.
HALString* make(const char16_t* t) {
  HALString* s = new HALString();
  EXPECT_TRUE(s->initFromWide(t));
  return s;
}

TEST(HALStringTest, NullSourcesGiveEmptyRecords) {
  HALString s;
  EXPECT_TRUE(s.initFromWide(nullptr));
  EXPECT_EQ(0, s.length());
  EXPECT_EQ(nullptr, s.chars());
  EXPECT_TRUE(s.initFromChars(nullptr, 5));
  EXPECT_EQ(0, s.length());
  EXPECT_EQ(nullptr, s.chars());
  EXPECT_TRUE(s.initCopy(nullptr));
  EXPECT_EQ(nullptr, s.chars());
  EXPECT_TRUE(s.initSubstring(nullptr, 0, 3));
  EXPECT_EQ(nullptr, s.chars());

  HALString empty;
  EXPECT_TRUE(s.initFromWide(u"xyz"));
  EXPECT_TRUE(s.initCopy(&empty));  // replaces the text
  EXPECT_EQ(nullptr, s.chars());
  EXPECT_EQ(1, s.refCount());
}

TEST(HALStringTest, InitialisersCopyTheirSource) {
  const char16_t units[] = {u'a', 0, u'b', u'c'};
  HALString s;
  ASSERT_TRUE(s.initFromChars(units, 4));
  EXPECT_EQ(std::u16string(units, 4), text(s));  // a unit 0 inside is kept
  EXPECT_EQ(0, s.chars()[4]);

  ASSERT_TRUE(s.initFromChars(units, -3));  // a negative count is no text
  EXPECT_EQ(u"", text(s));

  HALString copy;
  ASSERT_TRUE(s.initFromWide(u"hello"));
  ASSERT_TRUE(copy.initCopy(&s));
  EXPECT_NE(s.chars(), copy.chars());
  EXPECT_EQ(u"hello", text(copy));
  ASSERT_TRUE(copy.initCopy(&copy));  // from itself
  EXPECT_EQ(u"hello", text(copy));
  ASSERT_TRUE(copy.initSubstring(&copy, 1, 4));
  EXPECT_EQ(u"ell", text(copy));
}

TEST(HALStringTest, TooLongATextIsRefusedAndLeavesAnEmptyRecord) {
  // The count is refused before a unit is read, so a short array suffices.
  const char16_t units[] = {u'a'};
  HALString s;
  ASSERT_TRUE(s.initFromWide(u"old"));
  EXPECT_FALSE(s.initFromChars(units, std::numeric_limits<int32_t>::max()));
  EXPECT_EQ(nullptr, s.chars());
  EXPECT_EQ(0, s.length());
  EXPECT_EQ(1, s.refCount());
}

TEST(HALStringTest, SubstringBoundsAreClamped) {
  HALString s;
  ASSERT_TRUE(s.initFromWide(u"abcde"));
  struct Case {
    int32_t begin, end;
    const char16_t* expected;
  };
  const int32_t kMin = std::numeric_limits<int32_t>::min();
  const int32_t kMax = std::numeric_limits<int32_t>::max();
  const Case cases[] = {
      {1, 3, u"bc"}, {0, 5, u"abcde"}, {-2, 2, u"ab"}, {3, 100, u"de"}, {4, 2, u""},
      {-5, -1, u""}, {10, 20, u""},    {kMin, kMax, u"abcde"},           {5, 5, u""},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << k.begin << ".." << k.end);
    HALString* sub = s.substring(k.begin, k.end);
    ASSERT_NE(nullptr, sub);
    EXPECT_EQ(k.expected, text(*sub));
    EXPECT_EQ(1, sub->refCount());
    HALString::release(sub);
  }
}

TEST(HALStringTest, ReferenceCountDecidesWhenTheRecordGoes) {
  HALString* s = make(u"shared");
  s->addRef();
  EXPECT_EQ(2, s->refCount());
  HALString::release(s);
  EXPECT_EQ(1, s->refCount());
  EXPECT_EQ(u"shared", text(*s));
  EXPECT_EQ(HAL_OK, HAL_releaseString(s));  // frees it; the sanitizers check
  HALString::release(nullptr);
}

TEST(HALStringTest, CharactersAndSearchStayInsideTheText) {
  HALString s;
  ASSERT_TRUE(s.initFromWide(u"banana"));
  EXPECT_EQ(u'b', s.charAt(0));
  EXPECT_EQ(u'a', s.charAt(5));
  EXPECT_EQ(0, s.charAt(6));  // the terminator's place
  EXPECT_EQ(0, s.charAt(-1));
  EXPECT_EQ(0, s.charAt(std::numeric_limits<int32_t>::max()));
  EXPECT_EQ(1, s.indexOf(u'a'));
  EXPECT_EQ(3, s.indexOf(u'a', 2));
  EXPECT_EQ(1, s.indexOf(u'a', -7));
  EXPECT_EQ(-1, s.indexOf(u'a', 6));
  EXPECT_EQ(-1, s.indexOf(u'x'));
  EXPECT_EQ(-1, s.indexOf(0));
  EXPECT_EQ(5, s.lastIndexOf(u'a'));
  EXPECT_EQ(0, s.lastIndexOf(u'b'));
  EXPECT_EQ(-1, s.lastIndexOf(u'x'));

  HALString empty;
  for (char16_t c : {u'a', char16_t{0}}) {
    EXPECT_EQ(-1, empty.indexOf(c));
    EXPECT_EQ(-1, empty.indexOf(c, -1));
    EXPECT_EQ(-1, empty.lastIndexOf(c));
  }
  EXPECT_EQ(0, empty.charAt(0));

  s.clear();
  EXPECT_EQ(0, s.length());
  EXPECT_EQ(0, s.charAt(0));
  EXPECT_EQ(-1, s.indexOf(u'a'));
}

TEST(HALStringTest, EqualsComparesTheZeroTerminatedTexts) {
  HALString abc, abc2, ab, emptyText, empty1, empty2, withZero;
  ASSERT_TRUE(abc.initFromWide(u"abc"));
  ASSERT_TRUE(abc2.initFromWide(u"abc"));
  ASSERT_TRUE(ab.initFromWide(u"ab"));
  ASSERT_TRUE(emptyText.initFromWide(u""));
  const char16_t units[] = {u'a', u'b', u'c', 0, u'd'};
  ASSERT_TRUE(withZero.initFromChars(units, 5));

  EXPECT_TRUE(abc.equals(&abc2));
  EXPECT_TRUE(abc.equals(&abc));
  EXPECT_FALSE(abc.equals(&ab));
  EXPECT_FALSE(ab.equals(&abc));
  EXPECT_FALSE(abc.equals(nullptr));
  EXPECT_TRUE(empty1.equals(&empty2));
  EXPECT_FALSE(empty1.equals(&emptyText));
  EXPECT_FALSE(emptyText.equals(&empty1));
  EXPECT_TRUE(withZero.equals(&abc));  // the text ends at the unit 0
}

TEST(HALStringTest, AppendGrowsTheTextOrLeavesItAlone) {
  HALString s;
  ASSERT_TRUE(s.initFromWide(u"ab"));
  const char16_t* before = s.chars();
  EXPECT_TRUE(s.append(static_cast<const char16_t*>(nullptr)));
  EXPECT_TRUE(s.append(u""));
  EXPECT_TRUE(s.append(static_cast<const HALString*>(nullptr)));
  HALString empty;
  EXPECT_TRUE(s.append(&empty));
  EXPECT_EQ(before, s.chars());  // no new array

  EXPECT_TRUE(s.append(u"cd"));
  EXPECT_EQ(u"abcd", text(s));
  EXPECT_TRUE(s.append(&s));  // its own text
  EXPECT_EQ(u"abcdabcd", text(s));
  EXPECT_EQ(0, s.chars()[8]);

  EXPECT_TRUE(empty.append(u"x"));  // an empty record gets an array
  EXPECT_EQ(u"x", text(empty));
}

TEST(HALStringTest, EntryFunctionsCheckTheirPointers) {
  HALString* s = make(u"hey");
  int32_t n = -42;
  EXPECT_EQ(HAL_ILLEGAL_ARGUMENT_ERR, HAL_getStringLength(nullptr, &n));
  EXPECT_EQ(-42, n);
  EXPECT_EQ(HAL_ILLEGAL_ARGUMENT_ERR, HAL_getStringLength(s, nullptr));
  EXPECT_EQ(HAL_OK, HAL_getStringLength(s, &n));
  EXPECT_EQ(3, n);

  char16_t dst[5] = {u'#', u'#', u'#', u'#', u'#'};
  EXPECT_EQ(HAL_ILLEGAL_ARGUMENT_ERR, HAL_getStringCharacters(nullptr, dst));
  EXPECT_EQ(HAL_ILLEGAL_ARGUMENT_ERR, HAL_getStringCharacters(s, nullptr));
  EXPECT_EQ(HAL_OK, HAL_getStringCharacters(s, dst));
  EXPECT_EQ(u"hey##", std::u16string(dst, 5));  // no terminator written

  HALString empty;
  EXPECT_EQ(HAL_OK, HAL_getStringLength(&empty, &n));
  EXPECT_EQ(0, n);
  EXPECT_EQ(HAL_ILLEGAL_ARGUMENT_ERR, HAL_getStringCharacters(&empty, dst));

  EXPECT_EQ(HAL_ILLEGAL_ARGUMENT_ERR, HAL_releaseString(nullptr));
  EXPECT_EQ(HAL_OK, HAL_releaseString(s));
}

}  // namespace
