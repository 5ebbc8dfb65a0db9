#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "HALArray.h"
#include "HALList.h"
#include "HALStringMap.h"
#include "VMCString.h"
#include "VMHeap.h"

namespace {

// Distinct non-null values to store.
int a, b, c, d;

std::vector<void*> values(const HALList& list) {
  std::vector<void*> out;
  for (HALListNode* n = list.getFirst(); n; n = list.getNext(n)) out.push_back(list.getValue(n));
  return out;
}

// Counts the runtime allocator's bytes, so a test sees that the containers
// take their memory from it and give all of it back.
class RuntimeHeapTest : public ::testing::Test {
 protected:
  void SetUp() override { _VM_initHeap(1u << 24, 1u << 24); }
  void TearDown() override { _VM_disableHeap(); }
  static uint64_t allocated() { return _VM_heapState().allocated.load(); }
};

TEST(HALListTest, AddsAtBothEndsAndIgnoresNull) {
  HALList list;
  EXPECT_EQ(nullptr, list.getFirst());
  list.addLast(&b);
  list.addFirst(&a);
  list.addLast(&c);
  list.addFirst(nullptr);
  list.addLast(nullptr);
  EXPECT_EQ((std::vector<void*>{&a, &b, &c}), values(list));
  EXPECT_EQ(nullptr, list.getNext(nullptr));
  EXPECT_EQ(nullptr, list.getValue(nullptr));
}

TEST(HALListTest, RemoveUnlinksAnyPositionAndLeavesTheEndsRight) {
  struct Case {
    const char* name;
    std::vector<void*> start;
    void* removed;
    std::vector<void*> left;
  };
  const Case cases[] = {
      {"head", {&a, &b, &c}, &a, {&b, &c}},
      {"middle", {&a, &b, &c}, &b, {&a, &c}},
      {"tail", {&a, &b, &c}, &c, {&a, &b}},
      {"only element", {&a}, &a, {}},
      {"absent", {&a, &b}, &c, {&a, &b}},
      {"empty list", {}, &a, {}},
      {"first of two equal", {&a, &b, &a}, &a, {&b, &a}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    HALList list;
    for (void* v : k.start) list.addLast(v);
    list.remove(k.removed);
    EXPECT_EQ(k.left, values(list));
    // Both ends still link correctly: adding at either end after the removal
    // extends the right chain.
    list.addFirst(&d);
    list.addLast(&d);
    std::vector<void*> expected{&d};
    expected.insert(expected.end(), k.left.begin(), k.left.end());
    expected.push_back(&d);
    EXPECT_EQ(expected, values(list));
  }
}

TEST(HALListTest, ClearEmptiesTheListAndItCanBeReused) {
  HALList list;
  list.addLast(&a);
  list.addLast(&b);
  list.removeNode(nullptr);
  list.clear();
  EXPECT_EQ(nullptr, list.getFirst());
  list.clear();
  list.addLast(&c);
  EXPECT_EQ((std::vector<void*>{&c}), values(list));
}

TEST_F(RuntimeHeapTest, ListNodesComeFromTheRuntimeAllocatorAndAreAllReturned) {
  {
    HALList list;
    list.addLast(&a);
    EXPECT_GT(allocated(), 0u);
    list.addLast(&b);
    list.addFirst(&c);
    list.removeNode(list.getFirst());
    list.clear();
    EXPECT_EQ(0u, allocated());
    list.addLast(&a);
  }  // destruction frees the rest
  EXPECT_EQ(0u, allocated());
}

TEST(HALStringMapTest, HashesBytesAsSignedValues) {
  EXPECT_EQ(96354u, HALStringMap::hash("abc"));
  EXPECT_EQ(154u, HALStringMap::hash("abc") % HALStringMap::kBucketCount);
  EXPECT_EQ(0u, HALStringMap::hash(""));
  EXPECT_EQ(0xFFFFFF80u, HALStringMap::hash("\x80"));
  EXPECT_EQ(3006u, HALStringMap::hash("a\xff"));  // 97 * 31 - 1
  EXPECT_EQ(0xFFFFFC02u, HALStringMap::hash("\xe1\xc3"));  // -31 * 31 - 61
}

TEST(HALStringMapTest, LaterPutOfAnEqualKeyWins) {
  HALStringMap map;
  map.put("abc", &a);
  map.put("abc", &b);
  EXPECT_EQ(1u, map.count());
  void* value = nullptr;
  EXPECT_TRUE(map.get("abc", &value));
  EXPECT_EQ(&b, value);
  EXPECT_TRUE(map.get("abc", nullptr));
  EXPECT_FALSE(map.get("abd", &value));
  EXPECT_FALSE(map.get("ab", &value));
  EXPECT_FALSE(map.get("", &value));
  EXPECT_EQ(&b, value);  // untouched by the misses
}

TEST(HALStringMapTest, KeysSharingABucketStayApart) {
  // "a", "B3" and "G`" all land in bucket 97.
  for (const char* key : {"a", "B3", "G`"}) {
    ASSERT_EQ(97u, HALStringMap::hash(key) % HALStringMap::kBucketCount) << key;
  }
  HALStringMap map;
  map.put("a", &a);
  map.put("B3", &b);
  map.put("G`", &c);
  map.put("B3", &d);  // replaces in the middle of the chain
  EXPECT_EQ(3u, map.count());
  void* value = nullptr;
  EXPECT_TRUE(map.get("a", &value));
  EXPECT_EQ(&a, value);
  EXPECT_TRUE(map.get("B3", &value));
  EXPECT_EQ(&d, value);
  EXPECT_TRUE(map.get("G`", &value));
  EXPECT_EQ(&c, value);
}

TEST(HALStringMapTest, KeyIsCopiedAndNullKeyIsIgnored) {
  HALStringMap map;
  char key[] = "name";
  map.put(key, &a);
  std::strcpy(key, "nope");
  EXPECT_TRUE(map.get("name", nullptr));
  EXPECT_FALSE(map.get("nope", nullptr));

  map.put(nullptr, &b);
  EXPECT_EQ(1u, map.count());
  EXPECT_FALSE(map.get(nullptr, nullptr));
}

TEST_F(RuntimeHeapTest, MapEntriesComeFromTheRuntimeAllocatorAndAreAllReturned) {
  {
    HALStringMap map;
    const uint64_t withBuckets = allocated();
    EXPECT_GE(withBuckets, HALStringMap::kBucketCount * sizeof(void*));
    map.put("a", &a);
    map.put("B3", &b);
    map.put("x", &c);
    EXPECT_GT(allocated(), withBuckets);
    map.clear();
    EXPECT_EQ(0u, map.count());
    EXPECT_EQ(withBuckets, allocated());
    EXPECT_FALSE(map.get("a", nullptr));
    map.put("a", &d);
    void* value = nullptr;
    EXPECT_TRUE(map.get("a", &value));
    EXPECT_EQ(&d, value);
  }
  EXPECT_EQ(0u, allocated());
}

TEST(HALArrayTest, GrowsToOneAndAHalfTimesTheNeededCount) {
  HALArray array;
  EXPECT_EQ(0, array.count());
  EXPECT_EQ(8, array.capacity());
  std::vector<int> items(40);
  std::vector<int32_t> capacities;
  for (int& item : items) {
    ASSERT_TRUE(array.append(&item));
    if (capacities.empty() || capacities.back() != array.capacity()) {
      capacities.push_back(array.capacity());
    }
  }
  // 8, then 9 * 1.5, 14 * 1.5, 22 * 1.5 (truncated).
  EXPECT_EQ((std::vector<int32_t>{8, 13, 21, 33, 51}), capacities);
  ASSERT_EQ(40, array.count());
  for (int i = 0; i < 40; ++i) EXPECT_EQ(&items[i], array.get(i));
}

TEST(HALArrayTest, RemovingMovesTheLaterItemsDown) {
  HALArray array;
  for (void* item : {&a, &b, &c, &b, &d}) array.append(item);
  EXPECT_TRUE(array.removeAt(0));
  EXPECT_TRUE(array.remove(&b));  // the first of the two
  EXPECT_FALSE(array.remove(&a));
  ASSERT_EQ(3, array.count());
  EXPECT_EQ(&c, array.get(0));
  EXPECT_EQ(&b, array.get(1));
  EXPECT_EQ(&d, array.get(2));
  EXPECT_TRUE(array.removeAt(2));
  EXPECT_EQ(2, array.count());
  EXPECT_EQ(8, array.capacity());
}

TEST(HALArrayTest, IndicesOutsideTheItemsAreRefused) {
  HALArray array;
  EXPECT_EQ(nullptr, array.get(0));
  EXPECT_FALSE(array.removeAt(0));
  array.append(&a);
  for (int32_t index : {-1, 1, 8, INT32_MIN, INT32_MAX}) {
    SCOPED_TRACE(index);
    EXPECT_EQ(nullptr, array.get(index));
    EXPECT_FALSE(array.removeAt(index));
  }
  EXPECT_EQ(1, array.count());
}

TEST(VMCStringTest, CopiesAppendsAndCompares) {
  VMCString empty;
  VMCString fromNull(nullptr);
  EXPECT_EQ(0u, empty.length());
  EXPECT_STREQ("", fromNull.c_str());
  EXPECT_TRUE(empty.equals(""));
  EXPECT_FALSE(empty.equals(nullptr));

  char text[] = "java/lang";
  VMCString name(text);
  text[0] = 'X';
  EXPECT_STREQ("java/lang", name.c_str());
  name.append(nullptr);
  name.append("");
  name.append("/Object");
  EXPECT_TRUE(name.equals("java/lang/Object"));
  EXPECT_EQ(16u, name.length());

  VMCString copy(name);
  copy.append("!");
  EXPECT_STREQ("java/lang/Object", name.c_str());
  EXPECT_LT(name.compare(copy), 0);
  EXPECT_GT(copy.compare(name), 0);
  EXPECT_EQ(0, name.compare(VMCString("java/lang/Object")));
  EXPECT_LT(empty.compare(name), 0);
  EXPECT_GT(VMCString("\xff").compare(VMCString("a")), 0);  // bytes compare unsigned, as strcmp
}

TEST(VMCStringTest, AssignmentAndAppendMayUseTheirOwnText) {
  VMCString s("ab");
  s.append(s.c_str());
  EXPECT_STREQ("abab", s.c_str());
  s = s;
  EXPECT_STREQ("abab", s.c_str());
  s = s.c_str() + 2;
  EXPECT_STREQ("ab", s.c_str());
  s = nullptr;
  EXPECT_EQ(0u, s.length());
  VMCString t("x");
  t = s;
  EXPECT_STREQ("", t.c_str());
}

TEST_F(RuntimeHeapTest, CStringReturnsEveryBlock) {
  {
    VMCString s("abc");
    EXPECT_GT(allocated(), 0u);
    s.append("def");
    VMCString t(s);
    t = "x";
  }
  EXPECT_EQ(0u, allocated());
}

}  // namespace
