// The one UTF-16 <-> UTF-8 converter, under both policies.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "CeText.h"

namespace {

constexpr const char* kFFFD = "\xEF\xBF\xBD";

std::optional<std::string> toUTF8(std::u16string_view text, CeTextPolicy policy) {
  std::string out;
  if (!CeText::appendUTF8(out, text, policy)) return std::nullopt;
  return out;
}

std::optional<std::u16string> toUTF16(std::string_view text, CeTextPolicy policy) {
  std::u16string out;
  if (!CeText::appendUTF16(out, text, policy)) return std::nullopt;
  return out;
}

TEST(CeText, UTF16ToUTF8UnderBothPolicies) {
  struct Case {
    const char* what;
    std::u16string text;
    std::string replaced;
    bool valid;  // kRefuse gives `replaced` when true, fails when false
  };
  const std::string r = kFFFD;
  const Case cases[] = {
      {"empty", u"", "", true},
      {"one byte", u"A~", "A~", true},
      {"two bytes", u"\u00E9\u07FF", "\xC3\xA9\xDF\xBF", true},
      {"three bytes", u"\u0800\u20AC\uFFFF", "\xE0\xA0\x80\xE2\x82\xAC\xEF\xBF\xBF", true},
      {"four bytes: a pair", u"\U0001F600", "\xF0\x9F\x98\x80", true},
      {"the last code point", u"\U0010FFFF", "\xF4\x8F\xBF\xBF", true},
      {"the first pair", u"\U00010000", "\xF0\x90\x80\x80", true},
      {"lone high at the end", u"a\xD800", "a" + r, false},
      {"lone high before a letter", std::u16string(u"\xDBFF") + u"b", r + "b", false},
      {"lone low", std::u16string(u"\xDC00") + u"b", r + "b", false},
      {"reversed pair", std::u16string(u"\xDC00") + u"\xD800", r + r, false},
      {"two highs, then a low", std::u16string(u"\xD800") + u"\xD800\xDC00", r + "\xF0\x90\x80\x80", false},
      {"NUL kept", std::u16string(1, u'\0'), std::string(1, '\0'), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(toUTF8(c.text, CeTextPolicy::kReplace), c.replaced);
    EXPECT_EQ(CeText::toUTF8(c.text), c.replaced);
    EXPECT_EQ(toUTF8(c.text, CeTextPolicy::kRefuse), c.valid ? std::optional<std::string>(c.replaced) : std::nullopt);
    if (c.valid) {
      EXPECT_EQ(toUTF16(c.replaced, CeTextPolicy::kRefuse), c.text) << "round trip";
    }
  }
}

TEST(CeText, UTF8ToUTF16UnderBothPolicies) {
  struct Case {
    const char* what;
    std::string text;
    std::u16string replaced;  // under kReplace; kRefuse fails
  };
  const std::u16string r = u"\uFFFD";
  const Case cases[] = {
      {"bad lead byte", "a\x80" "b", u"a" + r + u"b"},
      {"lead bytes that never start a sequence", "\xC0\xC1\xF5\xFF", r + r + r + r},
      {"overlong two bytes", "\xC0\xAF", r + r},
      {"overlong three bytes", "\xE0\x80\x80", r + r + r},
      {"overlong four bytes", "\xF0\x80\x80\x80", r + r + r + r},
      {"an encoded surrogate", "\xED\xA0\x80", r + r + r},
      {"past U+10FFFF", "\xF4\x90\x80\x80", r + r + r + r},
      {"cut at the end", "x\xE2\x82", u"x" + r + r},
      {"a letter where a continuation belongs", "\xC3" "A", r + u"A"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(toUTF16(c.text, CeTextPolicy::kReplace), c.replaced);
    EXPECT_EQ(toUTF16(c.text, CeTextPolicy::kRefuse), std::nullopt);
  }
}

TEST(CeText, NextCodePointMovesPastAPairAndNamesALoneSurrogate) {
  const std::u16string text = std::u16string(u"\U0001F600") + u"\xDC00" + u"z";
  size_t i = 0;
  EXPECT_EQ(CeText::nextCodePoint(text, i, CeTextPolicy::kRefuse), U'\U0001F600');
  EXPECT_EQ(i, 2u);
  EXPECT_EQ(CeText::nextCodePoint(text, i, CeTextPolicy::kRefuse), CeText::kRefused);
  EXPECT_EQ(i, 3u);
  i = 2;
  EXPECT_EQ(CeText::nextCodePoint(text, i, CeTextPolicy::kReplace), U'\uFFFD');
  EXPECT_EQ(CeText::nextCodePoint(text, i, CeTextPolicy::kReplace), U'z');
}

}  // namespace
