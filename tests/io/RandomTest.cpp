// Random: every draw is checked against Java 17 for several seeds
// (random.txt, made by tools/javagen/IoTables.java); the exception message,
// the clock seed and the virtual dispatch of the draws are this system's
// own and checked here.

#include <gtest/gtest.h>

#include <bit>
#include <string>

#include "DeviceProfile.h"
#include "HALClock.h"
#include "IoTestSupport.h"
#include "VMTestEnv.h"
#include "java_lang_IllegalArgumentException.h"
#include "java_util_Random.h"

using java::util::Random;
using namespace io_test;

namespace test::io {

// A generator whose every draw is the same: shows that the public draws go
// through the virtual next().
class FixedRandom : public java::util::Random {
  VM_CLASS(FixedRandom, java::util::Random)

 public:
  int32_t next(int32_t bits) override {
    ++calls;
    return static_cast<int32_t>(0x5A5A5A5Au >> (32 - bits));
  }
  int32_t calls = 0;
};

}  // namespace test::io

VM_REGISTER_CLASS(test::io::FixedRandom, "test.io.FixedRandom", "java.util.Random", 0);

namespace {

VMPtr<Random> seeded(int64_t seed) {
  VMPtr<Random> r = Random::_VM_new();
  r->_VM_init(seed);
  return r;
}

TEST(RandomTable, EveryDrawAsJavaHasIt) {
  VMTestEnv::start();
  for (const Row& row : readTable("random.txt")) {
    SCOPED_TRACE(showRow(row));
    const int64_t seed = std::stoll(row[0]);
    const std::string& method = row[1];
    VMPtr<Random> r = seeded(seed);
    std::vector<std::string> drawn;
    if (method == "mixed") {
      for (int round = 0; round < 4; ++round) {
        drawn.push_back(std::to_string(r->nextInt()));
        drawn.push_back(std::to_string(r->nextInt(10)));
        drawn.push_back(std::to_string(r->nextLong()));
        char hex[24];
        std::snprintf(hex, sizeof hex, "%x", std::bit_cast<uint32_t>(r->nextFloat()));
        drawn.push_back(hex);
        std::snprintf(hex, sizeof hex, "%llx", static_cast<unsigned long long>(std::bit_cast<uint64_t>(r->nextDouble())));
        drawn.push_back(hex);
        drawn.push_back(std::to_string(r->nextInt(16)));
      }
    } else {
      if (method == "reseeded") {
        r = seeded(99);
        r->nextLong();
        r->setSeed(seed);
      }
      for (size_t i = 3; i < row.size(); ++i) {
        char hex[24];
        if (method == "nextInt" || method == "reseeded") {
          drawn.push_back(std::to_string(r->nextInt()));
        } else if (method == "nextIntN") {
          drawn.push_back(std::to_string(r->nextInt(std::stoi(row[2]))));
        } else if (method == "nextLong") {
          drawn.push_back(std::to_string(r->nextLong()));
        } else if (method == "nextFloat") {
          std::snprintf(hex, sizeof hex, "%x", std::bit_cast<uint32_t>(r->nextFloat()));
          drawn.push_back(hex);
        } else if (method == "nextDouble") {
          std::snprintf(hex, sizeof hex, "%llx", static_cast<unsigned long long>(std::bit_cast<uint64_t>(r->nextDouble())));
          drawn.push_back(hex);
        } else if (method == "next") {
          drawn.push_back(std::to_string(r->next(std::stoi(row[2]))));
        } else {
          FAIL() << "unknown method";
        }
      }
    }
    EXPECT_EQ(showRow(drawn), showRow(Row(row.begin() + 3, row.end())));
    EXPECT_LE(r->seedHigh, 0xFFFFu);
  }
}

TEST(Random, SetSeedRestartsTheSequenceAndKeepsTheStateIn48Bits) {
  VMTestEnv::start();
  VMPtr<Random> r = seeded(0);
  EXPECT_EQ(r->nextInt(), -1155484576);
  EXPECT_EQ(seeded(0)->nextInt(10), 0);
  r->setSeed(-1);
  EXPECT_LE(r->seedHigh, 0xFFFFu);
  const int64_t first = r->nextLong();
  r->setSeed(-1);
  EXPECT_EQ(r->nextLong(), first);
  for (int i = 0; i < 1000; ++i) {
    r->nextInt();
    ASSERT_LE(r->seedHigh, 0xFFFFu);
  }
}

TEST(Random, BoundsMustBePositive) {
  VMTestEnv::start();
  VMPtr<Random> r = seeded(5);
  const uint32_t low = r->seedLow;
  for (int32_t n : {0, -3, INT32_MIN}) {
    EXPECT_EQ(thrownMessage<java::lang::IllegalArgumentException>([&] { r->nextInt(n); }), "n must be positive");
  }
  EXPECT_EQ(r->seedLow, low);  // no draw was taken
  VMPtr<Random> copy = seeded(5);
  EXPECT_EQ(r->nextInt(1), 0);  // one draw, like any other bound
  copy->next(31);
  EXPECT_EQ(r->seedLow, copy->seedLow);
  // A power of two takes the top bits of the draw.
  EXPECT_EQ(seeded(77)->nextInt(16), seeded(77)->next(31) >> 27);
}

TEST(Random, FloatsStayBelowOneAndDoublesTakeTwoDraws) {
  VMTestEnv::start();
  VMPtr<Random> r = seeded(123);
  VMPtr<Random> twin = seeded(123);
  for (int i = 0; i < 2000; ++i) {
    ASSERT_LT(r->nextFloat(), 1.0f);
    ASSERT_LT(r->nextDouble(), 1.0);
    twin->next(1);
    twin->next(1);
    twin->next(1);
  }
  EXPECT_EQ(r->seedLow, twin->seedLow);
  EXPECT_EQ(r->seedHigh, twin->seedHigh);
}

TEST(Random, EveryDrawGoesThroughTheVirtualNext) {
  VMTestEnv::start();
  VMPtr<test::io::FixedRandom> fixed = test::io::FixedRandom::_VM_new();
  fixed->_VM_init(int64_t{1});
  VMPtr<Random> r = fixed;
  EXPECT_EQ(r->nextInt(), 0x5A5A5A5A);
  EXPECT_EQ(r->nextInt(16), 0x5A5A5A5A >> 28);
  EXPECT_EQ(r->nextLong(), 0x5A5A5A5A5A5A5A5All);
  EXPECT_EQ(r->nextFloat(), static_cast<float>(0x5A5A5A) / (1 << 24));
  EXPECT_EQ(fixed->calls, 5);
  r->nextDouble();
  EXPECT_EQ(fixed->calls, 7);
}

TEST(Random, TheDefaultSeedIsTheClock) {
  // Both clocks stand still, so the current time is the wall clock's.
  DeviceProfile::instance().setWallClock([] { return DeviceProfile::DateTime{2009, 3, 14, 15, 9, 26}; });
  DeviceProfile::instance().setTickCounter([] { return uint64_t{5000}; });
  VMTestEnv::start();
  const int64_t now = HAL_getCurrentTimeMillis();
  EXPECT_EQ(now, 1237043366000);
  VMPtr<Random> fromClock = Random::_VM_new();
  fromClock->_VM_init();
  VMPtr<Random> fromSeed = seeded(now);
  EXPECT_EQ(fromClock->nextLong(), fromSeed->nextLong());
}

}  // namespace
