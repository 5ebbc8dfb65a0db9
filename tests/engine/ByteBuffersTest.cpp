// The canvas's static byte buffers: byte order of every writer and reader,
// positions, and access past the end or through a null buffer.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "VMTestEnv.h"
#include "java_lang_ArrayIndexOutOfBoundsException.h"
#include "java_lang_NullPointerException.h"
#include "tq_TqCanvas.h"

namespace {

using tq::TqCanvas;

VMPtr<VMArray<int8_t>> bytes(const std::vector<int>& values) {
  VMPtr<VMArray<int8_t>> a = VMArray<int8_t>::create(static_cast<int32_t>(values.size()));
  for (size_t i = 0; i < values.size(); ++i) a->at(static_cast<int32_t>(i)) = static_cast<int8_t>(values[i]);
  return a;
}

std::vector<int> contents(VMArray<int8_t>* a) {
  std::vector<int> out;
  for (int32_t i = 0; i < a->length; ++i) out.push_back(a->at(i) & 0xFF);
  return out;
}

struct WriteCase {
  const char* name;
  std::function<void()> write;
  std::vector<int> expected;
};

TEST(ByteBuffers, WritersStoreTheirBytesInOrder) {
  VMTestEnv::start();
  const WriteCase cases[] = {
      {"writeInt", [] { TqCanvas::writeInt(0x12345678); }, {0x12, 0x34, 0x56, 0x78}},
      {"writeIntLE", [] { TqCanvas::writeIntLE(0x12345678); }, {0x78, 0x56, 0x34, 0x12}},
      {"writeShort", [] { TqCanvas::writeShort(0x1234); }, {0x12, 0x34}},
      {"writeShortLE", [] { TqCanvas::writeShortLE(0x1234); }, {0x34, 0x12}},
      {"writeShort of a wider value", [] { TqCanvas::writeShort(0x7FFF1234); }, {0x12, 0x34}},
      {"writeByte", [] { TqCanvas::writeByte(0x1FF); }, {0xFF}},
      {"writeInt -2", [] { TqCanvas::writeInt(-2); }, {0xFF, 0xFF, 0xFF, 0xFE}},
      {"writeBoolean twice",
       [] {
         TqCanvas::writeBoolean(1);
         TqCanvas::writeBoolean(0);
       },
       {0x01, 0x00}},
  };
  for (const WriteCase& c : cases) {
    SCOPED_TRACE(c.name);
    TqCanvas::writeBuffer = VMArray<int8_t>::create(static_cast<int32_t>(c.expected.size()) + 2);
    TqCanvas::writePosition = 1;
    c.write();
    EXPECT_EQ(TqCanvas::writePosition, 1 + static_cast<int32_t>(c.expected.size()));
    std::vector<int> expected{0};
    expected.insert(expected.end(), c.expected.begin(), c.expected.end());
    expected.push_back(0);
    EXPECT_EQ(contents(TqCanvas::writeBuffer.get()), expected);
  }
}

TEST(ByteBuffers, ReadersTakeBigEndianSignedValues) {
  VMTestEnv::start();
  struct ReadCase {
    std::vector<int> data;
    std::function<int32_t()> read;
    int32_t expected;
    int32_t advance;
  };
  const ReadCase cases[] = {
      {{0xFF}, [] { return TqCanvas::readByte(); }, -1, 1},
      {{0x7F}, [] { return TqCanvas::readByte(); }, 127, 1},
      {{0xFF, 0xFF, 0xFF, 0xFE}, [] { return TqCanvas::readInt(); }, -2, 4},
      {{0x00, 0x00, 0x00, 0xFF}, [] { return TqCanvas::readInt(); }, 255, 4},
      {{0x80, 0x00, 0x00, 0x01}, [] { return TqCanvas::readInt(); }, INT32_MIN + 1, 4},
      {{0x02}, [] { return TqCanvas::readBoolean(); }, 1, 1},
      {{0x00}, [] { return TqCanvas::readBoolean(); }, 0, 1},
  };
  for (const ReadCase& c : cases) {
    std::vector<int> data{0xAA};  // the position starts behind a byte
    data.insert(data.end(), c.data.begin(), c.data.end());
    TqCanvas::readBuffer = bytes(data);
    TqCanvas::readPosition = 1;
    EXPECT_EQ(c.read(), c.expected);
    EXPECT_EQ(TqCanvas::readPosition, 1 + c.advance);
  }
}

TEST(ByteBuffers, AccessOutsideTheBufferThrowsAndChangesNothing) {
  VMTestEnv::start();
  struct OutsideCase {
    const char* name;
    int32_t size;
    int32_t position;
    std::function<void()> access;
    bool write;
  };
  const OutsideCase cases[] = {
      {"writeInt over the end", 6, 3, [] { TqCanvas::writeInt(0x01020304); }, true},
      {"writeShortLE at the end", 2, 2, [] { TqCanvas::writeShortLE(1); }, true},
      {"writeByte at a negative position", 2, -1, [] { TqCanvas::writeByte(1); }, true},
      {"readInt over the end", 6, 3, [] { TqCanvas::readInt(); }, false},
      {"readByte at the end", 2, 2, [] { TqCanvas::readByte(); }, false},
      {"readBoolean at a negative position", 2, -5, [] { TqCanvas::readBoolean(); }, false},
  };
  for (const OutsideCase& c : cases) {
    SCOPED_TRACE(c.name);
    VMPtr<VMArray<int8_t>> buffer = VMArray<int8_t>::create(c.size);
    (c.write ? TqCanvas::writeBuffer : TqCanvas::readBuffer) = buffer;
    (c.write ? TqCanvas::writePosition : TqCanvas::readPosition) = c.position;
    bool thrown = false;
    try {
      c.access();
    } catch (java::lang::ArrayIndexOutOfBoundsException* e) {
      VMPtr<java::lang::ArrayIndexOutOfBoundsException> caught(e);
      thrown = true;
    }
    EXPECT_TRUE(thrown);
    EXPECT_EQ(c.write ? TqCanvas::writePosition : TqCanvas::readPosition, c.position);
    EXPECT_EQ(contents(buffer.get()), std::vector<int>(c.size, 0));  // nothing written
  }
}

TEST(ByteBuffers, ANullBufferThrowsNullPointerException) {
  VMTestEnv::start();
  TqCanvas::writeBuffer = nullptr;
  TqCanvas::readBuffer = nullptr;
  TqCanvas::writePosition = TqCanvas::readPosition = 0;
  EXPECT_THROW(TqCanvas::writeInt(1), java::lang::NullPointerException*);
  EXPECT_THROW(TqCanvas::readByte(), java::lang::NullPointerException*);
  EXPECT_EQ(TqCanvas::writePosition, 0);
}

}  // namespace
