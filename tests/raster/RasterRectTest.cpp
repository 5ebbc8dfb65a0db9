#include <gtest/gtest.h>

#include <climits>

#include "RasterRect.h"

namespace {

struct IntersectCase {
  RasterRect clip, r;
  bool result;
  RasterRect want;  // compared only for non-empty results
};

TEST(RasterRectTest, IntersectionTable) {
  const IntersectCase cases[] = {
      {{0, 0, 10, 10}, {2, 3, 4, 5}, true, {2, 3, 4, 5}},         // inside
      {{0, 0, 10, 10}, {-5, -5, 20, 20}, true, {0, 0, 10, 10}},   // covers
      {{0, 0, 10, 10}, {-5, 2, 8, 3}, true, {0, 2, 3, 3}},        // cut on the left
      {{0, 0, 10, 10}, {7, 8, 8, 8}, true, {7, 8, 3, 2}},         // cut on the right and bottom
      {{0, 0, 10, 10}, {-20, 0, 5, 5}, false, {}},                // left of it
      {{0, 0, 10, 10}, {11, 0, 5, 5}, false, {}},                 // right of it
      {{0, 0, 10, 10}, {0, -9, 5, 3}, false, {}},                 // above
      {{5, 5, 10, 10}, {0, 0, 5, 5}, true, {}},                   // touching corner: empty
      {{0, 0, 10, 10}, {3, 3, -2, 4}, true, {}},                  // negative width: empty
      {{0, 0, 240, 320}, {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, false, {}},
      {{0, 0, 240, 320}, {INT_MAX, INT_MAX, INT_MAX, INT_MAX}, false, {}},
      {{0, 0, 240, 320}, {-10, -10, INT_MAX, INT_MAX}, true, {0, 0, 240, 320}},
      {{0, 0, 240, 320}, {INT_MIN + 1, 5, INT_MAX, 1}, true, {}},  // ends at 0: empty
  };
  for (const IntersectCase& c : cases) {
    RasterRect got = c.clip;
    const bool result = got.intersect(c.r);
    SCOPED_TRACE(::testing::Message() << c.r.x << "," << c.r.y << " " << c.r.width << "x"
                                      << c.r.height);
    EXPECT_EQ(result, c.result);
    if (c.want.width > 0) {
      EXPECT_EQ(got.x, c.want.x);
      EXPECT_EQ(got.y, c.want.y);
      EXPECT_EQ(got.width, c.want.width);
      EXPECT_EQ(got.height, c.want.height);
    } else {
      EXPECT_TRUE(got.isEmpty());
    }
  }
}

TEST(RasterRectTest, ContainsIsHalfOpen) {
  const RasterRect r{2, 3, 4, 5};
  EXPECT_TRUE(r.contains(2, 3));
  EXPECT_TRUE(r.contains(5, 7));
  EXPECT_FALSE(r.contains(6, 7));
  EXPECT_FALSE(r.contains(5, 8));
  EXPECT_FALSE(r.contains(1, 3));
  EXPECT_FALSE(RasterRect({INT_MAX, 0, INT_MAX, 1}).contains(INT_MIN, 0));
}

}  // namespace
