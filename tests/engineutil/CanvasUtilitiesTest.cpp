// The canvas's static algorithms: number insertion against Java 17
// (insert_number.txt, made by tools/javagen/generate-engine.sh), number
// parsing, rectangles, sorting and searching, alpha classes and
// transforms.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "JavaTestSupport.h"
#include "VMTestEnv.h"
#include "java_lang_ArrayIndexOutOfBoundsException.h"
#include "java_lang_StringBuffer.h"
#include "tq_TqCanvas.h"

using tq::TqCanvas;

namespace {

VMPtr<java::lang::StringBuffer> buffer(const std::string& text) {
  VMPtr<java::lang::StringBuffer> sb = java::lang::StringBuffer::_VM_new();
  sb->_VM_init(text.c_str());
  return sb;
}

std::string textOf(const VMPtr<java::lang::StringBuffer>& sb) { return java_test::show(java_test::text(sb->toString())); }

VMPtr<VMArray<int32_t>> ints(const std::vector<int32_t>& v) {
  VMPtr<VMArray<int32_t>> a = VMArray<int32_t>::create(static_cast<int32_t>(v.size()));
  std::copy(v.begin(), v.end(), a->elements());
  return a;
}

TEST(CanvasUtilities, InsertNumberAsJavaWritesIt) {
  VMTestEnv::start();
  for (const auto& row : java_test::readTable("insert_number.txt")) {
    SCOPED_TRACE(java_test::showRow(row));
    VMPtr<java::lang::StringBuffer> sb = buffer(row[0]);
    TqCanvas::insertNumber(sb, std::stoi(row[1]), std::stoi(row[2]), std::stoi(row[3]));
    ASSERT_EQ(textOf(sb), row[4]);
  }
  // appendNumber inserts at the end, with no minimum unless given.
  VMPtr<java::lang::StringBuffer> sb = buffer("RP");
  TqCanvas::appendNumber(sb, 0);
  TqCanvas::appendNumber(sb, -7, 3);
  TqCanvas::appendNumber(sb, 65535, 8);
  EXPECT_EQ(textOf(sb), "RP0-00700065535");
}

TEST(CanvasUtilities, ParseIntFallsBackToTheDefault) {
  VMTestEnv::start();
  struct Case {
    const char16_t* text;
    int32_t radix;
    int32_t expected;
  };
  for (const Case& c : {Case{u"07", 10, 7}, Case{u"x1", 10, -9}, Case{u"-12", 10, -12}, Case{u"", 10, -9},
                        Case{u"2147483648", 10, -9}, Case{u"ff", 16, 255}, Case{u"ff", 10, -9}}) {
    EXPECT_EQ(TqCanvas::parseInt(java_test::jstr(c.text), -9, c.radix), c.expected) << java_test::show(c.text);
  }
  EXPECT_EQ(TqCanvas::parseInt(java_test::jstr(u"42"), -9), 42);
  EXPECT_EQ(TqCanvas::parseInt(VMPtr<java::lang::String>(), -9), -9);
}

TEST(CanvasUtilities, RectanglesSortingAndSearching) {
  VMTestEnv::start();
  EXPECT_FALSE(TqCanvas::rectanglesOverlap(0, 0, 10, 10, 10, 0, 5, 5));
  EXPECT_FALSE(TqCanvas::rectanglesOverlap(0, 0, 10, 10, 0, 10, 5, 5));
  EXPECT_TRUE(TqCanvas::rectanglesOverlap(0, 0, 10, 10, 9, 9, 5, 5));
  EXPECT_TRUE(TqCanvas::rectanglesOverlap(5, 5, 1, 1, 0, 0, 10, 10));

  VMPtr<VMArray<int32_t>> sorted = ints({1, 3, 5});
  for (auto [key, index] : std::vector<std::pair<int32_t, int32_t>>{{3, 1}, {4, 2}, {9, 3}, {0, 0}, {1, 0}, {5, 2}}) {
    EXPECT_EQ(TqCanvas::binarySearch(sorted, 2, key), index) << key;
  }
  EXPECT_EQ(TqCanvas::binarySearch(sorted, -1, 3), 0);

  std::mt19937 random(5);
  for (int32_t n : {0, 1, 2, 3, 10, 100, 1000}) {
    std::vector<int32_t> values(static_cast<size_t>(n) + 4);
    for (int32_t& v : values) v = static_cast<int32_t>(random()) % 50;
    VMPtr<VMArray<int32_t>> a = ints(values);
    TqCanvas::sortInts(a, n);
    std::vector<int32_t> expected = values;
    std::sort(expected.begin(), expected.begin() + n);
    EXPECT_EQ(std::vector<int32_t>(a->elements(), a->elements() + a->length), expected) << n;  // tail untouched
  }
  java_test::thrownMessage<java::lang::ArrayIndexOutOfBoundsException>([&] { TqCanvas::sortInts(ints({3, 2}), 3); });
}

TEST(CanvasUtilities, AlphaClasses) {
  VMTestEnv::start();
  const int32_t opaque = static_cast<int32_t>(0xFF123456);
  const int32_t clear = 0x00123456;
  const int32_t half = static_cast<int32_t>(0x80123456);
  EXPECT_EQ(TqCanvas::classifyAlpha(ints({opaque, clear}), 0, 2, 0, 0, 2, 1), 2);
  EXPECT_EQ(TqCanvas::classifyAlpha(ints({opaque, clear, half}), 0, 3, 0, 0, 3, 1), 3);
  EXPECT_EQ(TqCanvas::classifyAlpha(ints({opaque, static_cast<int32_t>(0xF0000000)}), 0, 2, 0, 0, 2, 1), 1);
  EXPECT_EQ(TqCanvas::classifyAlpha(ints({half}), 0, 1, 0, 0, 1, 0), 1);
  // Only the rectangle counts: rows `scanlength` apart from offset + y x scan + x.
  VMPtr<VMArray<int32_t>> grid = ints({half, half, half, opaque, clear, half, opaque, opaque, half});
  EXPECT_EQ(TqCanvas::classifyAlpha(grid, 0, 3, 0, 1, 2, 2), 2);
  EXPECT_EQ(TqCanvas::classifyAlpha(grid, 1, 3, 0, 1, 2, 2), 3);

  EXPECT_FALSE(TqCanvas::hasTransparency(ints({opaque, static_cast<int32_t>(0xF0000000)})));
  EXPECT_TRUE(TqCanvas::hasTransparency(ints({static_cast<int32_t>(0xE0FFFFFF), opaque})));
}

TEST(CanvasUtilities, Transforms) {
  VMTestEnv::start();
  struct Case {
    int32_t transform;
    int32_t x;
    int32_t y;
  };
  // A 4 x 3 rectangle at (10, 20).
  for (const Case& c : {Case{0, 10, 20}, Case{1, 10, -23}, Case{2, -14, 20}, Case{3, -14, -23}, Case{4, 20, 10},
                        Case{5, -23, 10}, Case{6, 20, -14}, Case{7, -23, -14}}) {
    EXPECT_EQ(TqCanvas::transformX(10, 20, 4, 3, c.transform), c.x) << c.transform;
    EXPECT_EQ(TqCanvas::transformY(10, 20, 4, 3, c.transform), c.y) << c.transform;
  }
}

}  // namespace
