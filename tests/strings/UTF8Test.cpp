// The runtime's modified UTF-8 routines. Java SE's decoder rejects
// overlong forms and encoded surrogates; this one accepts them (C0 80 is
// the NUL of modified UTF-8) and reports only lead bytes that cannot start
// a character.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "VMUTF8.h"

namespace {

using Bytes = std::vector<uint8_t>;

TEST(UTF8, DecodeOneCharacter) {
  struct Case {
    Bytes bytes;
    char16_t unit;
    bool ok;
    int32_t consumed;
  };
  const Case cases[] = {
      {{0x41}, u'A', true, 1},
      {{0x00}, 0, true, 1},
      {{0x7F, 0x41}, 0x7F, true, 1},
      {{0x80}, 0, false, 1},  // a continuation byte cannot lead
      {{0xBF, 0x80}, 0, false, 1},
      {{0xF0, 0x9F, 0x98, 0x80}, 0, false, 1},  // no four-byte forms
      {{0xFF}, 0, false, 1},
      {{0xC3, 0xA9}, 0xE9, true, 2},
      {{0xC0, 0x80}, 0, true, 2},     // overlong NUL
      {{0xC1, 0xBF}, 0x7F, true, 2},  // overlong, accepted
      {{0xDF, 0xBF}, 0x7FF, true, 2},
      {{0xC3}, 0x80, true, 1},        // cut short: the lead only
      {{0xC3, 0x41}, 0x80, true, 2},  // bad continuation: consumed
      {{0xE2, 0x82, 0xAC}, 0x20AC, true, 3},
      {{0xED, 0xA0, 0x80}, 0xD800, true, 3},  // surrogates pass through
      {{0xEF, 0xBF, 0xBF}, 0xFFFF, true, 3},
      {{0xE2, 0x82}, 0x80, true, 1},
      {{0xE2}, 0x80, true, 1},
      {{0xE2, 0x41, 0x82}, 0x80, true, 3},
      {{0xE2, 0x82, 0x41}, 0x80, true, 3},
      {{}, 0x80, true, 0},  // nothing left
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.bytes));
    int32_t remaining = static_cast<int32_t>(c.bytes.size());
    const uint8_t* cursor = c.bytes.data();
    bool ok = !c.ok;
    EXPECT_EQ(_VM_decodeUTF8Char(remaining, cursor, &ok), c.unit);
    EXPECT_EQ(ok, c.ok);
    EXPECT_EQ(cursor - c.bytes.data(), c.consumed);
    EXPECT_EQ(remaining, static_cast<int32_t>(c.bytes.size()) - c.consumed);
  }
}

TEST(UTF8, CountAndDecodeRuns) {
  struct Case {
    Bytes bytes;
    int32_t count;
    bool ok;
    std::u16string decoded;  // with capacity = count
  };
  const Case cases[] = {
      {{}, 0, true, u""},
      {{0x61, 0xC3, 0xA9, 0xE2, 0x82, 0xAC}, 3, true, u"a\u00e9\u20ac"},
      {{0x61, 0xE2, 0x82}, 2, true, u"a\u0080"},  // cut off by the end: one character
      {{0x61, 0x80, 0x62}, 1, false, u"a"},       // stops at the invalid lead byte
      {{0xC3, 0x41, 0x42}, 2, true, u"\u0080B"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.bytes));
    const auto n = static_cast<int32_t>(c.bytes.size());
    bool ok = !c.ok;
    EXPECT_EQ(_VM_countUTF8Chars(c.bytes.data(), n, &ok), c.count);
    EXPECT_EQ(ok, c.ok);
    EXPECT_EQ(_VM_countUTF8Chars(c.bytes.data(), n, nullptr), c.count);
    std::u16string out(8, u'#');
    int32_t capacity = c.count;
    _VM_decodeUTF8(out.data(), capacity, c.bytes.data(), n, nullptr);
    EXPECT_EQ(out.substr(0, static_cast<size_t>(capacity)), c.decoded);
    EXPECT_EQ(out[static_cast<size_t>(capacity)], u'#');
  }
  // Decoding past the count stores the 0 of the invalid byte and stops.
  const Bytes bad = {0x61, 0x80, 0x62};
  char16_t out[4] = {u'#', u'#', u'#', u'#'};
  int32_t capacity = 4;
  bool ok = true;
  EXPECT_EQ(_VM_decodeUTF8(out, capacity, bad.data(), 3, &ok), 2);
  EXPECT_FALSE(ok);
  EXPECT_EQ(capacity, 2);
  EXPECT_EQ(out[1], 0);
  EXPECT_EQ(out[2], u'#');
  // The capacity limits the units and the bytes consumed.
  const Bytes abc = {0x61, 0xC3, 0xA9, 0x63};
  capacity = 2;
  EXPECT_EQ(_VM_decodeUTF8(out, capacity, abc.data(), 4, &ok), 3);
  EXPECT_EQ(capacity, 2);
  EXPECT_TRUE(ok);
}

TEST(UTF8, EqualsUnitByUnit) {
  const std::u16string e = u"\u00e9";
  const Bytes c3a9 = {0xC3, 0xA9};
  EXPECT_TRUE(_VM_equalsUTF8(c3a9.data(), 2, e.data(), 1));
  EXPECT_FALSE(_VM_equalsUTF8(c3a9.data(), 1, e.data(), 1));
  EXPECT_FALSE(_VM_equalsUTF8(c3a9.data(), 2, e.data(), 0));
  EXPECT_TRUE(_VM_equalsUTF8(nullptr, 0, nullptr, 0));
  const std::u16string nul(1, u'\0');
  const Bytes invalid = {0x80};
  EXPECT_FALSE(_VM_equalsUTF8(invalid.data(), 1, nul.data(), 1));
}

TEST(UTF8, LengthAndEncoding) {
  const std::u16string text(u"a\0\u00e9\u07ff\u0800\uffff", 6);
  EXPECT_EQ(_VM_getUTF8Length(text.data(), 6, false), 1 + 1 + 2 + 2 + 3 + 3);
  EXPECT_EQ(_VM_getUTF8Length(text.data(), 6, true), 1 + 2 + 2 + 2 + 3 + 3);

  uint8_t buffer[16];
  int32_t room = sizeof buffer;
  EXPECT_EQ(_VM_encodeUTF8(buffer, room, text.data(), 6, true, true), 6);
  EXPECT_EQ(room, 13);
  EXPECT_EQ(Bytes(buffer, buffer + 14),
            (Bytes{0x61, 0xC0, 0x80, 0xC3, 0xA9, 0xDF, 0xBF, 0xE0, 0xA0, 0x80, 0xEF, 0xBF, 0xBF, 0x00}));
  room = sizeof buffer;
  _VM_encodeUTF8(buffer, room, text.data(), 2, false, false);
  EXPECT_EQ(room, 2);
  EXPECT_EQ(buffer[1], 0x00);

  // Stops at the first unit that does not fit whole; the terminator's byte
  // is kept back.
  room = 4;
  EXPECT_EQ(_VM_encodeUTF8(buffer, room, text.data() + 2, 4, false, true), 1);
  EXPECT_EQ(room, 2);
  EXPECT_EQ(buffer[2], 0);
  room = 0;
  EXPECT_EQ(_VM_encodeUTF8(buffer, room, text.data(), 6, false, true), 0);
  EXPECT_EQ(room, 0);

  // One unit: nothing written when it does not fit, and a negative room.
  uint8_t* cursor = buffer;
  EXPECT_EQ(_VM_encodeUTF8Char(u'\u20ac', 2, cursor, false), -1);
  EXPECT_EQ(cursor, buffer);
  EXPECT_EQ(_VM_encodeUTF8Char(u'\0', 1, cursor, true), -1);
  EXPECT_EQ(_VM_encodeUTF8Char(u'x', 0, cursor, false), 0);
  EXPECT_EQ(_VM_encodeUTF8Char(u'x', -3, cursor, false), -3);
  EXPECT_EQ(cursor, buffer);
  EXPECT_EQ(_VM_encodeUTF8Char(u'\0', 1, cursor, false), 0);
  EXPECT_EQ(cursor, buffer + 1);
}

}  // namespace
