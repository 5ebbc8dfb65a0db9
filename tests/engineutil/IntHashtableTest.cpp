// IntHashtable: growth at the threshold, iteration order (last bucket
// first, chains from the head, reversed within a bucket by growth),
// negative keys, null values, remove, clear, clone and a short key array.

#include <gtest/gtest.h>

#include <vector>

#include "JavaTestSupport.h"
#include "VMJava.h"
#include "VMTestEnv.h"
#include "java_lang_ArrayIndexOutOfBoundsException.h"
#include "java_lang_Integer.h"
#include "tq_util_IntHashtable.h"

using tq::util::IntHashtable;
using java::lang::Object;

namespace {

VMPtr<IntHashtable> table(int32_t capacity) {
  VMPtr<IntHashtable> t = IntHashtable::_VM_new();
  t->_VM_init(capacity);
  return t;
}

VMPtr<Object> boxed(int32_t v) {
  VMPtr<java::lang::Integer> i = java::lang::Integer::_VM_new();
  i->_VM_init(v);
  return i;
}

int32_t unboxed(const VMPtr<Object>& o) { return _VM_cast<java::lang::Integer>(o)->value; }

std::vector<int32_t> keys(const VMPtr<IntHashtable>& t) {
  VMPtr<VMArray<int32_t>> out = VMArray<int32_t>::create(t->size());
  t->getKeys(out);
  return std::vector<int32_t>(out->elements(), out->elements() + out->length);
}

int32_t capacity(const VMPtr<IntHashtable>& t) { return VMPtr<IntHashtable::Buckets>(t->table)->length; }

TEST(IntHashtable, GrowsWhenANewKeyMeetsTheThreshold) {
  VMTestEnv::start();
  struct Case {
    int32_t initial;
    int32_t keysBeforeGrowth;  // distinct keys that fit without growing
    int32_t grownCapacity;
    int32_t grownThreshold;
  };
  for (const Case& c : {Case{0, 0, 3, 2}, Case{-5, 0, 3, 2}, Case{1, 0, 3, 2}, Case{4, 3, 9, 6},
                        Case{128, 96, 257, 192}}) {
    SCOPED_TRACE(c.initial);
    VMPtr<IntHashtable> t = table(c.initial);
    for (int32_t k = 0; k < c.keysBeforeGrowth; ++k) t->put(k, boxed(k));
    EXPECT_EQ(capacity(t), c.initial < 1 ? 1 : c.initial);
    // An existing key is replaced in place, never grows the table.
    if (c.keysBeforeGrowth > 0) {
      EXPECT_EQ(unboxed(t->put(0, boxed(100))), 0);
      EXPECT_EQ(capacity(t), c.initial);
    }
    EXPECT_EQ(t->put(1000, boxed(1)), nullptr);
    EXPECT_EQ(capacity(t), c.grownCapacity);
    EXPECT_EQ(t->threshold, c.grownThreshold);
    EXPECT_EQ(t->size(), c.keysBeforeGrowth + 1);
    for (int32_t k = 1; k < c.keysBeforeGrowth; ++k) ASSERT_EQ(unboxed(t->get(k)), k);
  }
}

TEST(IntHashtable, IteratesFromTheLastBucketAndGrowthReversesAChain) {
  VMTestEnv::start();
  VMPtr<IntHashtable> t = table(5);
  for (int32_t k : {1, 6, 2}) t->put(k, boxed(k * 10));
  EXPECT_EQ(keys(t), (std::vector<int32_t>{2, 6, 1}));
  VMPtr<VMArray<Object>> values = VMArray<Object>::create(3);
  t->getValues(values);
  EXPECT_EQ(unboxed(values->get(0)), 20);
  EXPECT_EQ(unboxed(values->get(2)), 10);

  // 0, 36 and 72 share a bucket with 4 and with 9 buckets: the move to
  // the grown table reverses their chain.
  VMPtr<IntHashtable> g = table(4);
  for (int32_t k : {0, 36, 72}) g->put(k, boxed(k));
  EXPECT_EQ(keys(g), (std::vector<int32_t>{72, 36, 0}));
  g->put(1, boxed(1));
  EXPECT_EQ(capacity(g), 9);
  EXPECT_EQ(keys(g), (std::vector<int32_t>{1, 0, 36, 72}));
}

TEST(IntHashtable, NegativeKeysShareTheBucketOfTheirLowBits) {
  VMTestEnv::start();
  VMPtr<IntHashtable> t = table(7);
  t->put(-1, boxed(1));
  t->put(0x7FFFFFFF, boxed(2));
  t->put(INT32_MIN, boxed(3));
  EXPECT_EQ(keys(t).size(), 3u);
  EXPECT_EQ(unboxed(t->get(-1)), 1);
  EXPECT_EQ(unboxed(t->get(0x7FFFFFFF)), 2);
  EXPECT_EQ(unboxed(t->get(INT32_MIN)), 3);
  // -1 and 0x7FFFFFFF land in one bucket: the later one leads its chain.
  EXPECT_EQ(VMPtr<IntHashtable::Buckets>(t->table)->get(0x7FFFFFFF % 7)->key, 0x7FFFFFFF);
}

TEST(IntHashtable, NullValuesRemoveAndClear) {
  VMTestEnv::start();
  VMPtr<IntHashtable> t = table(3);
  t->put(5, nullptr);
  EXPECT_TRUE(t->containsKey(5));
  EXPECT_EQ(t->get(5), nullptr);
  EXPECT_FALSE(t->containsKey(8));

  // A chain of three in one bucket: remove the middle, the head, the last.
  VMPtr<IntHashtable> r = table(11);
  for (int32_t k : {3, 14, 25}) r->put(k, boxed(k));
  EXPECT_EQ(unboxed(r->remove(14)), 14);
  EXPECT_EQ(r->remove(14), nullptr);
  EXPECT_EQ(keys(r), (std::vector<int32_t>{25, 3}));
  EXPECT_EQ(unboxed(r->remove(25)), 25);
  EXPECT_EQ(unboxed(r->remove(3)), 3);
  EXPECT_TRUE(r->isEmpty());

  for (int32_t k = 0; k < 20; ++k) r->put(k, boxed(k));
  const int32_t grown = capacity(r);
  r->clear();
  EXPECT_EQ(r->size(), 0);
  EXPECT_EQ(capacity(r), grown);
  EXPECT_FALSE(r->containsKey(7));
  r->put(7, boxed(7));
  EXPECT_EQ(keys(r), (std::vector<int32_t>{7}));
}

TEST(IntHashtable, CloneCopiesChainsAndSharesValues) {
  VMTestEnv::start();
  VMPtr<IntHashtable> t = table(4);
  for (int32_t k : {0, 4, 8, 1}) t->put(k, boxed(k));
  VMPtr<IntHashtable> c = _VM_cast<IntHashtable>(t->clone());
  EXPECT_EQ(keys(c), keys(t));
  EXPECT_EQ(c->threshold, t->threshold);
  EXPECT_EQ(capacity(c), capacity(t));
  EXPECT_EQ(c->get(8).get(), t->get(8).get());
  c->remove(4);
  c->put(9, boxed(9));
  EXPECT_TRUE(t->containsKey(4));
  EXPECT_FALSE(t->containsKey(9));
  EXPECT_EQ(t->size(), 4);
}

TEST(IntHashtable, AShortKeyArrayIsRejectedAtItsEnd) {
  VMTestEnv::start();
  VMPtr<IntHashtable> t = table(8);
  for (int32_t k : {1, 2, 3}) t->put(k, boxed(k));
  VMPtr<VMArray<int32_t>> shortKeys = VMArray<int32_t>::create(2);
  EXPECT_EQ(java_test::thrownMessage<java::lang::ArrayIndexOutOfBoundsException>([&] { t->getKeys(shortKeys); }),
            "Array index out of range: 2");
  VMPtr<VMArray<Object>> shortValues = VMArray<Object>::create(1);
  java_test::thrownMessage<java::lang::ArrayIndexOutOfBoundsException>([&] { t->getValues(shortValues); });
}

}  // namespace
