// java.lang.String: constructors, the intern table, the native helpers and
// the rules where this system deliberately differs from Java SE (those
// cases say so). Search, hash, case-insensitive matching, substring, trim
// and replace are also checked against Java 17 in JavaTablesTest.cpp.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "HALString.h"
#include "StringTestSupport.h"
#include "VMArray.h"
#include "VMCollector.h"
#include "VMTestEnv.h"
#include "java_io_UnsupportedEncodingException.h"
#include "java_lang_ArrayIndexOutOfBoundsException.h"
#include "java_lang_IndexOutOfBoundsException.h"
#include "java_lang_Integer.h"
#include "java_lang_NullPointerException.h"
#include "java_lang_RuntimeException.h"
#include "java_lang_String.h"
#include "java_lang_StringBuffer.h"
#include "java_lang_StringIndexOutOfBoundsException.h"

using java::lang::Integer;
using java::lang::NullPointerException;
using java::lang::Object;
using java::lang::String;
using java::lang::StringBuffer;
using java::lang::StringIndexOutOfBoundsException;
using namespace strings_test;

namespace {

using Chars = VMArray<char16_t>;
using Bytes = VMArray<int8_t>;

VMPtr<Chars> chars(const std::u16string& s) {
  VMPtr<Chars> a = Chars::create(static_cast<int32_t>(s.size()));
  for (size_t i = 0; i < s.size(); ++i) a->at(static_cast<int32_t>(i)) = s[i];
  return a;
}

VMPtr<Bytes> bytes(const std::vector<int>& values) {
  VMPtr<Bytes> a = Bytes::create(static_cast<int32_t>(values.size()));
  for (size_t i = 0; i < values.size(); ++i) a->at(static_cast<int32_t>(i)) = static_cast<int8_t>(values[i]);
  return a;
}

VMPtr<String> fromChars(VMPtr<Chars> value, int32_t offset, int32_t count) {
  VMPtr<String> s = String::_VM_new();
  return s->_VM_init(value, offset, count);
}

VMPtr<String> fromBytes(VMPtr<Bytes> b, int32_t off, int32_t len, VMPtr<String> enc) {
  VMPtr<String> s = String::_VM_new();
  return s->_VM_init(b, off, len, enc);
}

TEST(String, CharArrayConstructorCopiesAndChecksInOrder) {
  VMTestEnv::start();
  VMPtr<Chars> value = chars(u"abcd");
  VMPtr<String> s = fromChars(value, 1, 2);
  value->at(1) = u'X';
  EXPECT_EQ(text(s), u"bc");
  EXPECT_EQ(s->offset, 0);
  EXPECT_NE(s->value.get(), value.get());

  struct Case {
    int32_t offset, count;
    const char* message;
  };
  for (const Case& c : {Case{-1, 5, "String index out of range: -1"}, Case{2, -1, "String index out of range: -1"},
                        Case{2, 5, "String index out of range: 7"}, Case{5, 0, "String index out of range: 5"}}) {
    SCOPED_TRACE(c.offset);
    EXPECT_EQ(thrownMessage<StringIndexOutOfBoundsException>([&] { fromChars(value, c.offset, c.count); }),
              c.message);
  }
  EXPECT_EQ(text(fromChars(value, 4, 0)), u"");
  EXPECT_THROW(fromChars(VMPtr<Chars>(), 0, 0), NullPointerException*);
}

TEST(String, EmptyAndSharingConstructors) {
  VMTestEnv::start();
  VMPtr<String> empty = String::_VM_new();
  empty->_VM_init();
  EXPECT_EQ(empty->count, 0);
  EXPECT_EQ(empty->value->length, 0);

  VMPtr<Chars> value = chars(u"shared");
  VMPtr<String> s = String::_VM_new();
  s->_VM_init(1, 3, value);
  EXPECT_EQ(s->value.get(), value.get());
  EXPECT_EQ(text(s), u"har");

  // Class.newInstance builds the empty String.
  VMPtr<Object> made = String::_VM_class->newInstance();
  EXPECT_TRUE(dynamic_cast<String*>(made.get())->_VM_equals(""));
}

TEST(String, BytesDecodeAsUTF8ByDefault) {
  VMTestEnv::start();
  VMPtr<String> utf8 = _VM_intern("UTF-8");
  struct Case {
    std::vector<int> bytes;
    std::u16string expected;
  };
  // C3 41: the 41 is consumed as the bad continuation byte. C0 80 is an
  // overlong NUL, accepted. A cut-off sequence is U+0080. (Java SE would
  // give U+FFFD replacement characters for all three.)
  const Case cases[] = {{{0xC3, 0xA9}, u"\u00e9"},
                        {{0xC3, 0x41}, u"\u0080"},
                        {{0xC0, 0x80}, std::u16string(1, u'\0')},
                        {{0xE2, 0x82, 0xAC, 0x21}, u"\u20ac!"},
                        {{0x41, 0xE2, 0x82}, u"A\u0080"},
                        {{0xED, 0xA0, 0x80}, u"\xd800"},
                        {{}, u""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(show(c.expected));
    EXPECT_EQ(text(fromBytes(bytes(c.bytes), 0, static_cast<int32_t>(c.bytes.size()), utf8)), c.expected);
    VMPtr<String> plain = String::_VM_new();
    EXPECT_EQ(text(plain->_VM_init(bytes(c.bytes))), c.expected);
  }
  VMPtr<String> part = String::_VM_new();
  EXPECT_EQ(text(part->_VM_init(bytes({0x61, 0xC3, 0xA9, 0x62}), 1, 2)), u"\u00e9");
  VMPtr<String> alias = String::_VM_fromUTF8("UTF8");
  EXPECT_EQ(text(fromBytes(bytes({0xC3, 0xA9}), 0, 2, alias)), u"\u00e9");
}

TEST(String, InvalidUTF8LeadByteIsRejected) {
  VMTestEnv::start();
  for (const std::vector<int>& b : {std::vector<int>{0x80}, {0x41, 0xBF}, {0xF0, 0x90, 0x80, 0x80}, {0xFF}}) {
    EXPECT_EQ(thrownMessage<java::lang::RuntimeException>([&] {
                fromBytes(bytes(b), 0, static_cast<int32_t>(b.size()), _VM_intern("UTF-8"));
              }),
              "Improperly formatted UTF-8 string.");
  }
}

TEST(String, SingleByteCharsetsMapEveryByteToItsValue) {
  VMTestEnv::start();
  // Java SE decodes bytes above 7F as U+FFFD in US-ASCII; here all four
  // names are Latin-1.
  for (const char* name : {"ISO-8859-1", "ISO8859_1", "US-ASCII", "ASCII"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(text(fromBytes(bytes({0xE9, 0x00, 0x41, 0xFF}), 0, 4, String::_VM_fromUTF8(name))),
              std::u16string(u"\u00e9\0A\u00ff", 4));
  }
}

TEST(String, CharsetNamesAreExactAndChecksComeInOrder) {
  VMTestEnv::start();
  VMPtr<Bytes> four = bytes({1, 2, 3, 4});
  VMPtr<String> utf8 = _VM_intern("UTF-8");
  // Names are compared exactly (Java SE ignores case and knows more names).
  for (const char* name : {"utf-8", "Latin1", "UTF-16", ""}) {
    EXPECT_EQ(thrownMessage<java::io::UnsupportedEncodingException>(
                  [&] { fromBytes(four, 0, 4, String::_VM_fromUTF8(name)); }),
              name);
  }
  // Bounds first, with the bare number as message; then the charset name.
  using IOOBE = java::lang::IndexOutOfBoundsException;
  EXPECT_EQ(thrownMessage<IOOBE>([&] { fromBytes(four, -1, 0, VMPtr<String>()); }), "-1");
  EXPECT_EQ(thrownMessage<IOOBE>([&] { fromBytes(four, 0, -2, utf8); }), "-2");
  EXPECT_EQ(thrownMessage<IOOBE>([&] { fromBytes(four, 3, 2, utf8); }), "5");
  EXPECT_EQ(thrownMessage<IOOBE>([&] { fromBytes(four, 2147483647, 1, utf8); }), "-2147483648");
  EXPECT_EQ(thrownMessage<NullPointerException>([&] { fromBytes(four, 0, 4, VMPtr<String>()); }), "<null>");
  EXPECT_THROW(fromBytes(VMPtr<Bytes>(), 0, 0, utf8), NullPointerException*);
  // A bounds failure is an IndexOutOfBoundsException itself, not a subclass.
  try {
    fromBytes(four, 4, 1, utf8);
    ADD_FAILURE();
  } catch (IOOBE* e) {
    EXPECT_EQ(e->_VM_getClass(), IOOBE::_VM_class);
  }
}

TEST(String, NativeConstructors) {
  VMTestEnv::start();
  // Zero-terminated text: malformed text keeps what comes before the first
  // invalid lead byte.
  EXPECT_EQ(text(String::_VM_fromUTF8("h\xC3\xA9llo")), u"h\u00e9llo");
  EXPECT_EQ(text(String::_VM_fromUTF8("ab\x80" "cd")), u"ab");
  EXPECT_EQ(text(String::_VM_fromUTF8("\xC0\x80x")), std::u16string(u"\0x", 2));
  EXPECT_THROW(String::_VM_fromUTF8(nullptr), NullPointerException*);
  // Bytes with a length: a zero byte is a character.
  VMPtr<String> counted = String::_VM_new();
  EXPECT_EQ(text(counted->_VM_init("a\0b", 3)), std::u16string(u"a\0b", 3));
  // UTF-16 units.
  EXPECT_EQ(text(String::_VM_fromUTF16(u"\xd83d\xde00", 2)), u"\xd83d\xde00");
  EXPECT_EQ(text(String::_VM_fromUTF16(nullptr, 0)), u"");
}

TEST(String, FromPlatformString) {
  VMTestEnv::start();
  HALString wide;
  ASSERT_TRUE(wide.initFromWide(u"caf\u00e9 \u20ac"));
  VMPtr<String> s = String::_VM_new();
  EXPECT_EQ(text(s->_VM_init(&wide)), u"caf\u00e9 \u20ac");
  HALString emptyText;
  ASSERT_TRUE(emptyText.initFromWide(u""));
  VMPtr<String> e = String::_VM_new();
  EXPECT_EQ(e->_VM_init(&emptyText)->count, 0);
  // A record without any text has nothing to copy: the empty String, not a
  // fatal error.
  HALString none;
  VMPtr<String> n = String::_VM_new();
  EXPECT_EQ(n->_VM_init(&none)->count, 0);
}

TEST(StringDeathTest, UnreadablePlatformStringIsFatal) {
  EXPECT_EXIT(
      {
        VMTestEnv::start();
        VMPtr<String> s = String::_VM_new();
        s->_VM_init(static_cast<const HALString*>(nullptr));
      },
      ::testing::ExitedWithCode(1), "");
}

TEST(String, InternGivesOnePinnedStringPerText) {
  VMTestEnv::start();
  Object* first = _VM_intern("interned text").get();
  EXPECT_EQ(_VM_intern("interned text").get(), first);
  EXPECT_NE(_VM_intern("other text").get(), first);
  EXPECT_TRUE(_VM_intern(nullptr).isNull());
  // No reference is left but the table's pin: the String survives.
  _VM_collect();
  VMPtr<String> again = _VM_intern("interned text");
  EXPECT_EQ(again.get(), first);
  EXPECT_TRUE(again->_VM_equals("interned text"));
  // Equal text made another way is equal but not the interned object.
  VMPtr<String> made = String::_VM_fromUTF8("interned text");
  EXPECT_NE(made.get(), first);
  EXPECT_TRUE(made->equals(again));
}

TEST(String, EqualsZeroTerminatedText) {
  VMTestEnv::start();
  VMPtr<String> s = jstr(u"h\u00e9\u20ac");
  EXPECT_TRUE(s->_VM_equals("h\xC3\xA9\xE2\x82\xAC"));
  EXPECT_FALSE(s->_VM_equals("h\xC3\xA9"));
  EXPECT_FALSE(s->_VM_equals("h\xC3\xA9\xE2\x82\xAC!"));
  EXPECT_FALSE(s->_VM_equals("x\xC3\xA9\xE2\x82\xAC"));
  EXPECT_FALSE(s->_VM_equals(nullptr));
  EXPECT_TRUE(jstr(u"")->_VM_equals(""));
  // An invalid lead byte equals no character, not even U+0000.
  VMPtr<String> nul = jstr(std::u16string(1, u'\0'));
  EXPECT_TRUE(nul->_VM_equals("\xC0\x80"));
  EXPECT_FALSE(nul->_VM_equals("\x80"));
}

TEST(String, ModifiedUTF8CopiesForNativeCode) {
  VMTestEnv::start();
  VMCString out("old");
  jstr(std::u16string(u"a\0\u00e9\u20ac", 4))->_VM_toCString(out);
  EXPECT_STREQ(out.c_str(), "a\xC0\x80\xC3\xA9\xE2\x82\xAC");
  jstr(u"!")->_VM_appendToCString(out);
  EXPECT_STREQ(out.c_str(), "a\xC0\x80\xC3\xA9\xE2\x82\xAC!");
  jstr(u"")->_VM_toCString(out);
  EXPECT_STREQ(out.c_str(), "");
  // Longer than any small buffer.
  std::u16string longText(1000, u'\u0800');
  jstr(longText)->_VM_toCString(out);
  ASSERT_EQ(out.length(), 3000u);
  EXPECT_EQ(std::memcmp(out.c_str(), "\xE0\xA0\x80", 3), 0);
  // Substrings encode their own window only.
  VMPtr<String> sub = jstr(u"xxabcxx")->substring(2, 5);
  sub->_VM_toCString(out);
  EXPECT_STREQ(out.c_str(), "abc");
}

TEST(String, CharAtChecksTheIndex) {
  VMTestEnv::start();
  VMPtr<String> s = jstr(u"xhix")->substring(1, 3);
  EXPECT_EQ(s->charAt(0), u'h');
  EXPECT_EQ(s->charAt(1), u'i');
  EXPECT_EQ(s->length(), 2);
  for (int32_t i : {-1, 2, 2147483647}) {
    EXPECT_EQ(thrownMessage<StringIndexOutOfBoundsException>([&] { s->charAt(i); }),
              "String index out of range: " + std::to_string(i));
  }
}

TEST(String, EqualsAndHashCode) {
  VMTestEnv::start();
  VMPtr<String> hello = jstr(u"Hello");
  EXPECT_EQ(hello->hashCode(), 69609650);
  EXPECT_EQ(jstr(u"")->hashCode(), 0);
  EXPECT_TRUE(hello->equals(jstr(u"xHellox")->substring(1, 6)));
  EXPECT_TRUE(hello->equals(hello));
  EXPECT_FALSE(hello->equals(VMPtr<Object>()));
  VMPtr<Integer> n = Integer::_VM_new();
  n->_VM_init(5);
  EXPECT_FALSE(jstr(u"5")->equals(n));
  EXPECT_FALSE(hello->equals(jstr(u"Hellp")));
}

TEST(String, CaseInsensitiveMatchingStaysInLatin1) {
  VMTestEnv::start();
  struct Case {
    std::u16string a, b;
    bool equal;
  };
  // Java SE also matches y-diaeresis with U+0178, micro sign with Greek
  // capital mu, and letters beyond Latin-1; here only ASCII and Latin-1
  // letters have a case.
  const Case cases[] = {{u"ABC", u"abc", true},     {u"\u00e9", u"\u00c9", true},  {u"\u00ff", u"\u0178", false},
                        {u"\u00b5", u"\u039c", false}, {u"\u03c3", u"\u03a3", false}, {u"\u00df", u"SS", false},
                        {u"\u00f7", u"\u00d7", false}, {u"ab", u"abc", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(show(c.a) + " " + show(c.b));
    EXPECT_EQ(jstr(c.a)->equalsIgnoreCase(jstr(c.b)), c.equal);
  }
  EXPECT_FALSE(jstr(u"a")->equalsIgnoreCase(VMPtr<String>()));
  EXPECT_EQ(text(jstr(u"\u00c0B\u03a3\u0130")->toLowerCase()), u"\u00e0b\u03a3\u0130");
}

TEST(String, NoCopyWhereNothingChanges) {
  VMTestEnv::start();
  VMPtr<String> s = jstr(u"lower case");
  EXPECT_EQ(s->substring(0, s->count).get(), s.get());
  EXPECT_EQ(s->substring(0).get(), s.get());
  EXPECT_EQ(s->trim().get(), s.get());
  EXPECT_EQ(s->toLowerCase().get(), s.get());
  EXPECT_EQ(s->replace(u'x', u'y').get(), s.get());
  EXPECT_EQ(s->replace(u'e', u'e').get(), s.get());
  EXPECT_EQ(s->toString().get(), s.get());
  VMPtr<String> empty = jstr(u"");
  EXPECT_EQ(empty->trim().get(), empty.get());
  // Substrings and trimmed Strings share the array.
  VMPtr<String> mid = s->substring(1, 1);
  EXPECT_EQ(mid->count, 0);
  EXPECT_EQ(mid->value.get(), s->value.get());
  VMPtr<String> padded = jstr(u" \t x \n");
  VMPtr<String> trimmed = padded->trim();
  EXPECT_EQ(text(trimmed), u"x");
  EXPECT_EQ(trimmed->value.get(), padded->value.get());
  EXPECT_EQ(text(jstr(u"  ")->trim()), u"");
  // A changed String owns a new array.
  VMPtr<String> replaced = s->replace(u'e', u'E');
  EXPECT_EQ(text(replaced), u"lowEr casE");
  EXPECT_NE(replaced->value.get(), s->value.get());
  EXPECT_EQ(text(s), u"lower case");
}

TEST(String, SearchTakesTheIntAsOneUnit) {
  VMTestEnv::start();
  EXPECT_EQ(jstr(u"A")->indexOf(0x10041), -1);
  EXPECT_EQ(jstr(u"A")->indexOf(0x41), 0);
  // Java SE finds a code point above U+FFFF as its surrogate pair; here
  // such an int never matches.
  VMPtr<String> pair = jstr(u"\xd800\xdc41");
  EXPECT_EQ(pair->indexOf(0x10041), -1);
  EXPECT_EQ(pair->lastIndexOf(0x10041), -1);
  EXPECT_EQ(pair->indexOf(0xdc41), 1);
  VMPtr<String> sub = jstr(u"abcabc")->substring(1, 5);  // "bcab"
  EXPECT_EQ(sub->indexOf(u'a'), 2);
  EXPECT_EQ(sub->lastIndexOf(u'b'), 3);
  EXPECT_EQ(sub->lastIndexOf(u'c', 0), -1);
  EXPECT_TRUE(sub->startsWith(jstr(u"ca"), 1));
  EXPECT_FALSE(sub->startsWith(jstr(u"bcabc")));
}

TEST(String, IndexOfFindsTheFirstMatchAtEveryBlockPosition) {
  // The search compares several characters at once: a hit must be found in
  // every position of a block and of the tail, from every start, also in a
  // substring that begins inside its array, and never beyond the end.
  VMTestEnv::start();
  VMPtr<String> outer = jstr(u"#!!" + std::u16string(40, u'.') + u"!");
  for (int32_t length = 0; length <= 70; ++length) {
    for (int32_t at = -1; at < length; ++at) {
      std::u16string body(static_cast<size_t>(length), u'x');
      if (at >= 0) body[static_cast<size_t>(at)] = u'y';
      // One more 'y' just past the end of the substring, which must not show.
      VMPtr<String> s = jstr(u"yy" + body + u"y")->substring(2, 2 + length);
      for (int32_t from = -1; from <= length; ++from) {
        const int32_t expected = at >= std::max(from, 0) ? at : -1;
        EXPECT_EQ(s->indexOf(u'y', from), expected) << "length " << length << " at " << at << " from " << from;
      }
    }
  }
  EXPECT_EQ(outer->indexOf(u'!', 3), 43);
}

TEST(String, NullStringArgumentsThrow) {
  VMTestEnv::start();
  VMPtr<String> s = jstr(u"abc");
  EXPECT_THROW(s->startsWith(VMPtr<String>()), NullPointerException*);
  EXPECT_THROW(s->startsWith(VMPtr<String>(), 0), NullPointerException*);
  EXPECT_THROW(s->regionMatches(1, 0, VMPtr<String>(), 0, 1), NullPointerException*);
  // Even when the offsets alone would answer false.
  EXPECT_THROW(s->regionMatches(0, -1, VMPtr<String>(), 0, 1), NullPointerException*);
  EXPECT_THROW(s->getChars(0, 1, VMPtr<Chars>(), 0), NullPointerException*);
}

TEST(String, GetCharsMessagesAndCopy) {
  VMTestEnv::start();
  VMPtr<String> s = jstr(u"xhellox")->substring(1, 6);
  VMPtr<Chars> dst = chars(u"......");
  s->getChars(1, 4, dst, 2);
  EXPECT_EQ(std::u16string(dst->elements(), 6), u"..ell.");
  // The bare numbers srcBegin, srcEnd and srcEnd - srcBegin.
  EXPECT_EQ(thrownMessage<StringIndexOutOfBoundsException>([&] { s->getChars(-1, 2, dst, 0); }), "-1");
  EXPECT_EQ(thrownMessage<StringIndexOutOfBoundsException>([&] { s->getChars(0, 6, dst, 0); }), "6");
  EXPECT_EQ(thrownMessage<StringIndexOutOfBoundsException>([&] { s->getChars(3, 1, dst, 0); }), "-2");
  // The destination is checked by the array copy (Java SE throws
  // StringIndexOutOfBoundsException here).
  EXPECT_THROW(s->getChars(0, 5, dst, 2), java::lang::ArrayIndexOutOfBoundsException*);
  EXPECT_THROW(s->getChars(0, 1, dst, -1), java::lang::ArrayIndexOutOfBoundsException*);
  EXPECT_EQ(std::u16string(dst->elements(), 6), u"..ell.");
}

TEST(String, ValueOf) {
  VMTestEnv::start();
  EXPECT_EQ(String::valueOf(VMPtr<Object>()).get(), _VM_intern("null").get());
  EXPECT_EQ(String::valueOf(static_cast<uint8_t>(1)).get(), _VM_intern("true").get());
  EXPECT_EQ(String::valueOf(static_cast<uint8_t>(0)).get(), _VM_intern("false").get());
  EXPECT_EQ(text(String::valueOf(u'\u20ac')), u"\u20ac");
  EXPECT_EQ(text(String::valueOf(int32_t{-2147483647 - 1})), u"-2147483648");
  EXPECT_EQ(text(String::valueOf(int64_t{-9223372036854775807 - 1})), u"-9223372036854775808");
  // Float and double text is the "%G" form, not Java SE's.
  EXPECT_EQ(text(String::valueOf(2.5f)), u"2.5");
  EXPECT_EQ(text(String::valueOf(1e10)), u"1E+10");
  VMPtr<Integer> n = Integer::_VM_new();
  n->_VM_init(42);
  EXPECT_EQ(text(String::valueOf(VMPtr<Object>(n))), u"42");
  VMPtr<String> self = jstr(u"self");
  EXPECT_EQ(String::valueOf(VMPtr<Object>(self)).get(), self.get());
}

TEST(String, BuiltFromABufferSharesItsArray) {
  VMTestEnv::start();
  VMPtr<StringBuffer> sb = StringBuffer::_VM_new();
  sb->_VM_init("abc");
  VMPtr<String> s = String::_VM_new();
  s->_VM_init(sb);
  EXPECT_EQ(text(s), u"abc");
  EXPECT_EQ(s->value.get(), sb->value.get());
  EXPECT_TRUE(sb->shared);
  // The buffer copies before it changes a character the String shows.
  sb->insert(0, u'>');
  EXPECT_EQ(text(s), u"abc");
  EXPECT_THROW(String::_VM_new()->_VM_init(VMPtr<StringBuffer>()), NullPointerException*);
}

TEST(String, SurvivesCollections) {
  VMTestEnv::start();
  VMPtr<String> sub = jstr(u"a long enough text")->substring(2, 6);
  VMPtr<String> lowered = jstr(u"MIXED Case")->toLowerCase();
  _VM_collect();
  EXPECT_EQ(text(sub), u"long");
  EXPECT_EQ(text(lowered), u"mixed case");
}

}  // namespace
