// java.lang.StringBuffer: capacities, sharing the array with Strings and
// copying before the next change, the index errors and the native appends.
// The growth of capacities step by step is also checked against Java 17 in
// JavaTablesTest.cpp.

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "StringTestSupport.h"
#include "VMArray.h"
#include "VMCollector.h"
#include "VMTestEnv.h"
#include "java_lang_ArrayIndexOutOfBoundsException.h"
#include "java_lang_Integer.h"
#include "java_lang_NegativeArraySizeException.h"
#include "java_lang_NullPointerException.h"
#include "java_lang_OutOfMemoryError.h"
#include "java_lang_String.h"
#include "java_lang_StringBuffer.h"
#include "java_lang_StringIndexOutOfBoundsException.h"

using java::lang::Integer;
using java::lang::NullPointerException;
using java::lang::Object;
using java::lang::OutOfMemoryError;
using java::lang::String;
using java::lang::StringBuffer;
using java::lang::StringIndexOutOfBoundsException;
using namespace strings_test;

namespace {

using Chars = VMArray<char16_t>;

VMPtr<StringBuffer> buffer() {
  VMPtr<StringBuffer> sb = StringBuffer::_VM_new();
  return sb->_VM_init();
}

VMPtr<StringBuffer> buffer(const std::u16string& initial) {
  VMPtr<StringBuffer> sb = StringBuffer::_VM_new();
  return sb->_VM_init(jstr(initial));
}

int32_t capacity(const VMPtr<StringBuffer>& sb) { return sb->value->length; }

std::u16string contents(const VMPtr<StringBuffer>& sb) {
  return std::u16string(sb->value->elements(), static_cast<size_t>(sb->count));
}

TEST(StringBuffer, InitialCapacities) {
  VMTestEnv::start();
  EXPECT_EQ(capacity(buffer()), 16);
  VMPtr<StringBuffer> fromString = buffer(u"hello");
  EXPECT_EQ(capacity(fromString), 21);
  EXPECT_EQ(contents(fromString), u"hello");
  // Native text: its byte length + 16, then its characters.
  VMPtr<StringBuffer> fromUTF8 = StringBuffer::_VM_new();
  fromUTF8->_VM_init("\xC3\xA9\xC3\xA0");
  EXPECT_EQ(capacity(fromUTF8), 20);
  EXPECT_EQ(fromUTF8->length(), 2);
  EXPECT_EQ(contents(fromUTF8), u"\u00e9\u00e0");
  VMPtr<StringBuffer> sized = StringBuffer::_VM_new();
  EXPECT_EQ(capacity(sized->_VM_init(0)), 0);
  EXPECT_THROW(StringBuffer::_VM_new()->_VM_init(-1), java::lang::NegativeArraySizeException*);
  EXPECT_THROW(StringBuffer::_VM_new()->_VM_init(VMPtr<String>()), NullPointerException*);
  // Class.newInstance builds an empty buffer of capacity 16.
  VMPtr<Object> made = StringBuffer::_VM_class->newInstance();
  EXPECT_EQ(dynamic_cast<StringBuffer*>(made.get())->value->length, 16);
}

TEST(StringBuffer, GrowthDoublesPlusTwoOrTakesWhatIsNeeded) {
  VMTestEnv::start();
  VMPtr<StringBuffer> full = buffer();
  full->append(jstr(u"0123456789abcdef"));
  EXPECT_EQ(capacity(full), 16);
  full->append(u'!');
  EXPECT_EQ(capacity(full), 34);
  VMPtr<StringBuffer> big = buffer();
  big->append(jstr(std::u16string(100, u'x')));
  EXPECT_EQ(capacity(big), 100);
  EXPECT_EQ(big->length(), 100);
}

TEST(StringBuffer, AppendForms) {
  VMTestEnv::start();
  VMPtr<StringBuffer> sb = buffer();
  VMPtr<Integer> n = Integer::_VM_new();
  n->_VM_init(-7);
  sb->append(jstr(u"a"))->append(u'\u20ac')->append(int32_t{-2147483647 - 1})->append(VMPtr<String>());
  sb->append(VMPtr<Object>(n))->append(VMPtr<Object>())->append("|\xC3\xA9")->append("xyz", 2);
  EXPECT_EQ(contents(sb), u"a\u20ac-2147483648null-7null|\u00e9xy");
  // Native text: a C0 80 pair is U+0000; malformed text appends the
  // characters before its first invalid lead byte.
  VMPtr<StringBuffer> native = buffer();
  native->append("a\xC0\x80" "b");
  native->append("cd\x80" "ef");
  EXPECT_EQ(contents(native), std::u16string(u"a\0bcd", 5));
  EXPECT_THROW(native->append(static_cast<const char*>(nullptr)), NullPointerException*);
}

TEST(StringBuffer, ToStringSharesAndAppendDoesNotCopy) {
  VMTestEnv::start();
  VMPtr<StringBuffer> sb = buffer(u"abc");
  VMPtr<String> s = sb->toString();
  EXPECT_EQ(s->value.get(), sb->value.get());
  EXPECT_TRUE(sb->shared);
  Chars* before = sb->value.get();
  sb->append(u'x');
  EXPECT_EQ(sb->value.get(), before);
  EXPECT_EQ(text(s), u"abc");
  EXPECT_EQ(contents(sb), u"abcx");
}

// Every change below the count copies a shared array first.
TEST(StringBuffer, ChangesAfterToStringLeaveTheStringAlone) {
  VMTestEnv::start();
  struct Case {
    const char* name;
    void (*change)(VMPtr<StringBuffer>&);
    std::u16string after;
    int32_t capacity;
  };
  const Case cases[] = {
      {"insert String", [](VMPtr<StringBuffer>& b) { b->insert(1, jstr(u"--")); }, u"a--bcdef", 22},
      {"insert char", [](VMPtr<StringBuffer>& b) { b->insert(0, u'>'); }, u">abcdef", 22},
      {"insert int", [](VMPtr<StringBuffer>& b) { b->insert(6, int32_t{9}); }, u"abcdef9", 22},
      {"grow", [](VMPtr<StringBuffer>& b) { b->setLength(7); }, std::u16string(u"abcdef\0", 7), 22},
      {"shrink", [](VMPtr<StringBuffer>& b) { b->setLength(2); b->append(jstr(u"XYZ")); }, u"abXYZ", 22},
      {"same length", [](VMPtr<StringBuffer>& b) { b->setLength(6); b->insert(0, u'_'); }, u"_abcdef", 22},
      // Emptied: a fresh array of 16 (Java SE keeps the old capacity).
      {"empty", [](VMPtr<StringBuffer>& b) { b->setLength(0); b->append(jstr(u"xyz")); }, u"xyz", 16},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    VMPtr<StringBuffer> sb = buffer(u"abcdef");
    VMPtr<String> s = sb->toString();
    VMPtr<String> sub = s->substring(1, 4);
    c.change(sb);
    EXPECT_EQ(text(s), u"abcdef");
    EXPECT_EQ(text(sub), u"bcd");
    EXPECT_EQ(contents(sb), c.after);
    EXPECT_EQ(capacity(sb), c.capacity);
    EXPECT_NE(sb->value.get(), s->value.get());
    EXPECT_FALSE(sb->shared);
  }
}

TEST(StringBuffer, SetLengthPadsWithNulAndChecksTheLength) {
  VMTestEnv::start();
  VMPtr<StringBuffer> sb = buffer();
  sb->setLength(3);
  EXPECT_EQ(contents(sb), std::u16string(3, u'\0'));
  // Characters cut off earlier do not come back.
  sb->setLength(0);
  sb->append(jstr(u"abcdef"));
  sb->setLength(2);
  sb->setLength(4);
  EXPECT_EQ(contents(sb), std::u16string(u"ab\0\0", 4));
  EXPECT_EQ(thrownMessage<StringIndexOutOfBoundsException>([&] { sb->setLength(-1); }),
            "String index out of range: -1");
  EXPECT_EQ(sb->length(), 4);
}

TEST(StringBuffer, InsertOffsets) {
  VMTestEnv::start();
  VMPtr<StringBuffer> sb = buffer(u"abc");
  sb->insert(3, jstr(u"!"))->insert(0, VMPtr<String>())->insert(1, u'_')->insert(2, int32_t{-5});
  EXPECT_EQ(contents(sb), u"n_-5ullabc!");
  // A String outside 0 .. length: no message.
  for (int32_t offset : {-1, 12, INT_MAX}) {
    EXPECT_EQ(thrownMessage<StringIndexOutOfBoundsException>([&] { sb->insert(offset, jstr(u"x")); }), "<null>");
    EXPECT_EQ(thrownMessage<StringIndexOutOfBoundsException>([&] { sb->insert(offset, int32_t{1}); }), "<null>");
  }
  // A char outside 0 .. length: the offset (Java SE throws the same class).
  for (int32_t offset : {-1, 12, INT_MAX}) {
    EXPECT_EQ(thrownMessage<StringIndexOutOfBoundsException>([&] { sb->insert(offset, u'x'); }),
              "String index out of range: " + std::to_string(offset));
  }
  EXPECT_EQ(contents(sb), u"n_-5ullabc!");
}

TEST(StringBuffer, GetChars) {
  VMTestEnv::start();
  VMPtr<StringBuffer> sb = buffer(u"hello");
  VMPtr<Chars> dst = Chars::create(4);
  sb->getChars(1, 4, dst, 1);
  EXPECT_EQ(std::u16string(dst->elements(), 4), std::u16string(u"\0ell", 4));
  EXPECT_EQ(thrownMessage<StringIndexOutOfBoundsException>([&] { sb->getChars(2, 1, dst, 0); }),
            "srcBegin > srcEnd");
  EXPECT_EQ(thrownMessage<StringIndexOutOfBoundsException>([&] { sb->getChars(-1, 1, dst, 0); }),
            "String index out of range: -1");
  EXPECT_EQ(thrownMessage<StringIndexOutOfBoundsException>([&] { sb->getChars(0, 6, dst, 0); }),
            "String index out of range: 6");
  EXPECT_EQ(thrownMessage<StringIndexOutOfBoundsException>([&] { sb->getChars(0, -1, dst, 0); }),
            "String index out of range: -1");
  EXPECT_THROW(sb->getChars(0, 5, dst, 0), java::lang::ArrayIndexOutOfBoundsException*);
  EXPECT_THROW(sb->getChars(0, 1, VMPtr<Chars>(), 0), NullPointerException*);
}

// A text longer than the largest int cannot exist: the length check throws
// OutOfMemoryError before anything changes, where Java's int arithmetic
// would wrap. The buffers are set up with a count the heap could not hold.
TEST(StringBuffer, LengthsPastTheLargestIntAreOutOfMemory) {
  VMTestEnv::start();
  VMPtr<StringBuffer> sb = buffer(u"abc");
  sb->count = INT_MAX - 1;
  EXPECT_THROW(sb->append(jstr(u"xy")), OutOfMemoryError*);
  EXPECT_THROW(sb->insert(0, jstr(u"xy")), OutOfMemoryError*);
  EXPECT_THROW(sb->append("xy"), OutOfMemoryError*);
  sb->count = INT_MAX;
  EXPECT_THROW(sb->append(u'x'), OutOfMemoryError*);
  EXPECT_THROW(sb->insert(0, u'x'), OutOfMemoryError*);
  sb->count = 3;
  EXPECT_EQ(contents(sb), u"abc");
  EXPECT_EQ(capacity(sb), 19);
  // A String whose length leaves no room for the 16 spare characters.
  VMPtr<String> huge = String::_VM_new();
  huge->_VM_init(0, INT_MAX - 10, VMPtr<Chars>(sb->value));
  EXPECT_THROW(StringBuffer::_VM_new()->_VM_init(huge), OutOfMemoryError*);
}

// Growing past what the heap can give throws and keeps the old text.
TEST(StringBuffer, FailedGrowthKeepsTheBuffer) {
  VMTestEnv::start();
  VMPtr<StringBuffer> sb = buffer(u"keep");
  EXPECT_THROW(sb->setLength(0x3FFFFFFF), OutOfMemoryError*);
  EXPECT_THROW(sb->setLength(INT_MAX), OutOfMemoryError*);
  EXPECT_EQ(contents(sb), u"keep");
  EXPECT_EQ(capacity(sb), 20);
  VMPtr<String> s = sb->toString();
  EXPECT_THROW(sb->setLength(0x3FFFFFFF), OutOfMemoryError*);
  EXPECT_EQ(contents(sb), u"keep");
  EXPECT_EQ(text(s), u"keep");
}

TEST(StringBuffer, SurvivesCollections) {
  VMTestEnv::start();
  VMPtr<StringBuffer> sb = buffer();
  for (int i = 0; i < 200; ++i) sb->append(int32_t{i % 10});
  VMPtr<String> s = sb->toString();
  sb->insert(0, u'x');
  _VM_collect();
  EXPECT_EQ(s->count, 200);
  EXPECT_EQ(s->charAt(199), u'9');
  EXPECT_EQ(contents(sb).substr(0, 3), u"x01");
}

TEST(StringBufferDeathTest, AppendWithoutConstructorIsFatal) {
  for (int form = 0; form < 3; ++form) {
    EXPECT_EXIT(
        {
          VMTestEnv::start();
          VMPtr<StringBuffer> sb = StringBuffer::_VM_new();
          if (form == 0) sb->append(u'x');
          if (form == 1) sb->append(jstr(u"x"));
          if (form == 2) sb->append("x");
        },
        ::testing::ExitedWithCode(1), "");
  }
}

}  // namespace
