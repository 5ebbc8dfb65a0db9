// FastRandom: the xorshift sequence from known seeds, how each draw is
// taken from nextLong, the ranges, and the failures.

#include <gtest/gtest.h>

#include <cmath>

#include "JavaTestSupport.h"
#include "VMJava.h"
#include "VMTestEnv.h"
#include "java_lang_ArithmeticException.h"
#include "java_lang_Class.h"
#include "java_lang_IllegalArgumentException.h"
#include "tq_util_FastRandom.h"

using tq::util::FastRandom;

namespace {

VMPtr<FastRandom> seeded(int64_t seed) {
  VMPtr<FastRandom> r = FastRandom::_VM_new();
  r->_VM_init(seed);
  return r;
}

TEST(FastRandom, SequenceFromSeedOne) {
  VMTestEnv::start();
  VMPtr<FastRandom> r = seeded(1);
  EXPECT_EQ(r->nextLong(), 0x2200011);
  EXPECT_EQ(r->nextLong(), 0x4040000008181);
  EXPECT_EQ(static_cast<uint64_t>(r->nextLong()), 0x8044451222201133u);
  // The state is the last value returned, and setSeed takes it unchanged.
  EXPECT_EQ(static_cast<uint64_t>(r->seed), 0x8044451222201133u);
  r->setSeed(1);
  EXPECT_EQ(r->nextInt(), 0x2200011);
}

TEST(FastRandom, SeedZeroStaysZero) {
  VMTestEnv::start();
  VMPtr<FastRandom> r = seeded(0);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(r->nextLong(), 0);
    EXPECT_EQ(r->nextInt(), 0);
    EXPECT_EQ(r->nextInt(7), 0);
    EXPECT_EQ(r->nextFloat(), 0.0f);
    EXPECT_EQ(r->nextDouble(), 0.0);
  }
}

// Each draw against the nextLong values of a twin generator.
TEST(FastRandom, DrawsAreTakenFromNextLong) {
  VMTestEnv::start();
  VMPtr<FastRandom> r = seeded(0x123456789ABCDEFll);
  VMPtr<FastRandom> twin = seeded(0x123456789ABCDEFll);
  for (int i = 0; i < 200; ++i) {
    const uint64_t a = static_cast<uint64_t>(twin->nextLong());
    EXPECT_EQ(r->next(32), static_cast<int32_t>(static_cast<uint32_t>(a)));
    const uint64_t b = static_cast<uint64_t>(twin->nextLong());
    EXPECT_EQ(r->next(40), static_cast<int32_t>(static_cast<uint32_t>(b)));
    EXPECT_EQ(r->next(64), 0);
    twin->nextLong();
    const uint64_t c = static_cast<uint64_t>(twin->nextLong());
    EXPECT_EQ(r->next(5), static_cast<int32_t>(c & 31));

    const uint64_t f = static_cast<uint64_t>(twin->nextLong());
    const float x = r->nextFloat();
    EXPECT_EQ(x, static_cast<float>(f & 0xFFFFFF) * 0x1p-24f);
    EXPECT_GE(x, 0.0f);
    EXPECT_LT(x, 1.0f);

    const uint64_t d1 = static_cast<uint64_t>(twin->nextLong());
    const uint64_t d2 = static_cast<uint64_t>(twin->nextLong());
    const double y = r->nextDouble();
    EXPECT_EQ(y, static_cast<double>(((d1 & 0x3FFFFFF) << 27) + (d2 & 0x7FFFFFF)) * 0x1p-53);
    EXPECT_LT(y, 1.0);

    const int32_t n = r->nextInt(-10);
    EXPECT_GE(n, 0);
    EXPECT_LE(n, 9);
    const int32_t low = static_cast<int32_t>(twin->nextLong());
    EXPECT_EQ(n, std::abs(low % 10));
  }
}

TEST(FastRandom, Failures) {
  VMTestEnv::start();
  VMPtr<FastRandom> r = seeded(1);
  for (int32_t bits : {0, -1, INT32_MIN}) {
    EXPECT_EQ(java_test::thrownMessage<java::lang::IllegalArgumentException>([&] { r->next(bits); }),
              "FastRandom.nextInt() numberOfBits must be positive");
  }
  EXPECT_EQ(r->seed, 1);  // unchanged by the refused draws
  EXPECT_EQ(java_test::thrownMessage<java::lang::ArithmeticException>([&] { r->nextInt(0); }), "/ by zero");
}

TEST(FastRandom, ConstructorsAndTheCreationHook) {
  VMTestEnv::start();
  VMPtr<FastRandom> clock = FastRandom::_VM_new();
  clock->_VM_init();
  EXPECT_NE(clock->seed, 0);
  VMPtr<java::lang::Object> made =
      java::lang::Class::forName(java_test::jstr(u"tq.util.FastRandom"))->newInstance();
  EXPECT_NE(_VM_cast<FastRandom>(made)->seed, 0);
}

}  // namespace
