// The object header, identity operations and the heap's accounting and
// out-of-memory roads.
#include <gtest/gtest.h>

#include <cstdio>

#include "CeProcessHeap.h"
#include "HALMemory.h"
#include "VMClassKit.h"
#include "VMCollector.h"
#include "VMContext.h"
#include "VMHeap.h"
#include "VMSmallBlocks.h"
#include "VMTestEnv.h"
#include "VMThread.h"
#include "java_lang_OutOfMemoryError.h"
#include "java_lang_String.h"

using java::lang::Object;

namespace {

uint64_t allocated() { return _VM_heapState().allocated.load(); }

TEST(Heap, BlocksCountTheirSixteenByteHeader) {
  VMTestEnv::start();
  const uint64_t before = allocated();
  void* empty = _VM_alloc(0, true);
  EXPECT_EQ(allocated(), before + 16);
  EXPECT_EQ(_VM_blockSize(empty), 16u);
  void* block = _VM_alloc(100, true);
  EXPECT_EQ(allocated(), before + 16 + 116);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % 16, 0u) << "objects, long and double stay aligned";
  _VM_free(block);
  _VM_free(empty);
  _VM_free(nullptr);
  EXPECT_EQ(allocated(), before);
}

TEST(Heap, BlocksTakenWhileDisabledAreNeverCounted) {
  VMTestEnv::start();
  _VM_disableHeap();
  const uint64_t before = allocated();
  void* block = _VM_alloc(64, true);
  EXPECT_EQ(allocated(), before);
  EXPECT_NE(*reinterpret_cast<uint32_t*>(static_cast<char*>(block) - 16) & VM_HEAP_DISABLED_BIT, 0u);
  _VM_free(block);
  EXPECT_EQ(allocated(), before);
}

TEST(Heap, FreeMemoryIsClampedAtZero) {
  VMTestEnv::start(1 << 20, 1 << 20);
  EXPECT_EQ(_VM_getTotalMemory(), 1 << 20);
  EXPECT_GT(_VM_getFreeMemory(), 0);
  // Platform buffers count against the heap too and may push use past it.
  void* buffer = HAL_allocateBuffer(2 << 20);
  ASSERT_NE(buffer, nullptr);
  EXPECT_EQ(_VM_getFreeMemory(), 0);
  HAL_freeBuffer(buffer);
}

// A heap whose minimum equals its maximum never grows its limit; a request
// that does not fit after three collections throws OutOfMemoryError.
TEST(Heap, FullHeapCollectsThreeTimesThenThrowsOutOfMemoryError) {
  if (_VM_gcStressMode()) GTEST_SKIP() << "counts collections";
  // The class registry takes its part of the heap at start; what is left
  // holds the kept array but not a second one.
  VMTestEnv::start(1 << 20, 1 << 20);
  VMPtr<VMArray<int8_t>> keep = VMArray<int8_t>::create(700 << 10);
  const uint64_t limit = _VM_heapState().limit;
  const uint64_t collectionsBefore = _VM_vm->collectionCount;
  try {
    VMArray<int8_t>::create(400 << 10);
    FAIL() << "no OutOfMemoryError";
  } catch (java::lang::OutOfMemoryError* e) {
    VMPtr<java::lang::OutOfMemoryError> error(e);
    EXPECT_TRUE(error->getMessage().isNull());
  }
  EXPECT_EQ(_VM_vm->collectionCount - collectionsBefore, 3u);
  EXPECT_EQ(_VM_heapState().limit, limit);
  // The error was built on the reserve road, which ends with it: the limit
  // holds again for the next requests, which fail the same way instead of
  // taking memory past the heap.
  EXPECT_EQ(VMTestEnv::mainThread()->reportingOutOfMemory, 0);
  const int64_t inUse = static_cast<int64_t>(_VM_heapState().allocated);
  for (int i = 0; i < 4; ++i) {
    EXPECT_THROW(VMArray<int8_t>::create(400 << 10), java::lang::OutOfMemoryError*) << i;
  }
  EXPECT_LT(static_cast<int64_t>(_VM_heapState().allocated) - inUse, 64 << 10);
}

TEST(HeapDeathTest, AnInitialHeapLargerThanTheMaximumIsFatal) {
  // The message of a fatal error goes to standard error.
  EXPECT_EXIT(VMTestEnv::start(2 << 20, 1 << 20), testing::ExitedWithCode(1),
              "fatal error: The initial heap size is larger than the maximum heap size.");
}

TEST(Heap, LimitGrowsToTwiceTheUseWithinMinimumAndMaximum) {
  if (_VM_gcStressMode()) GTEST_SKIP() << "counts collections";
  VMTestEnv::start(64 << 10, 4 << 20);
  VMPtr<VMArray<int8_t>> a = VMArray<int8_t>::create(100 << 10);
  EXPECT_EQ(_VM_vm->collectionCount, 1u);
  const uint64_t limit = _VM_heapState().limit;
  EXPECT_GE(limit, 2 * (100u << 10));
  EXPECT_LE(limit, 4u << 20);
}

TEST(Heap, RequestsTooLargeForTheSizeWordOrTheHeapThrowWithoutCollecting) {
  if (_VM_gcStressMode()) GTEST_SKIP() << "counts collections";
  VMTestEnv::start(1 << 20, 1 << 20);
  for (size_t size : {size_t{2} << 20, size_t{0x40000000}, size_t{0xFFFFFFFF}, SIZE_MAX - 8}) {
    EXPECT_THROW(_VM_alloc(size, true), java::lang::OutOfMemoryError*) << size;
    VMTestEnv::mainThread()->reportingOutOfMemory = 0;
  }
  EXPECT_EQ(_VM_vm->collectionCount, 0u);
  // An int array whose byte size overflows 32 bits is refused the same way.
  EXPECT_THROW(VMArray<int64_t>::create(0x7FFFFFFF), java::lang::OutOfMemoryError*);
}

TEST(HeapDeathTest, OutOfMemoryWhereThrowingIsNotAllowedIsFatal) {
  EXPECT_EXIT(
      {
        VMTestEnv::start(1 << 20, 1 << 20);
        _VM_alloc(2 << 20, false);
      },
      testing::ExitedWithCode(1), "");
}

TEST(HeapDeathTest, ProcessHeapExhaustedWhileReportingIsFatal) {
  EXPECT_EXIT(
      {
        VMTestEnv::start(1 << 20, 1 << 20);
        VMTestEnv::mainThread()->reportingOutOfMemory = 1;
        CeProcessHeap::setAllocationsLeft(0);
        _VM_alloc(2 << 20, true);
      },
      testing::ExitedWithCode(1), "");
}

TEST(HeapDeathTest, ProcessHeapExhaustedBeforeTheHeapIsEnabledIsFatal) {
  EXPECT_EXIT(
      {
        CeProcessHeap::setAllocationsLeft(0);
        _VM_alloc(16, true);
      },
      testing::ExitedWithCode(1), "");
}

// The reserve road: while the thread reports an out-of-memory condition its
// allocations may go past the limit and are counted like any other block.
TEST(Heap, ReserveBlocksAreCountedAndMarked) {
  VMTestEnv::start(1 << 20, 1 << 20);
  VMTestEnv::mainThread()->reportingOutOfMemory = 1;
  const uint64_t before = allocated();
  void* block = _VM_alloc(2 << 20, true);
  EXPECT_EQ(allocated(), before + (2 << 20) + 16);
  EXPECT_NE(*reinterpret_cast<uint32_t*>(static_cast<char*>(block) - 16) & VM_HEAP_RESERVE_BIT, 0u);
  _VM_free(block);
  EXPECT_EQ(allocated(), before);
}

TEST(Object, NewObjectIsUnderConstructionUntilReferenced) {
  VMTestEnv::start();
  Object* raw = new Object();
  EXPECT_EQ(raw->_VM_flags, 0x11u);
  ASSERT_GT(_VM_objects().count, 0u);
  EXPECT_EQ(_VM_objects()[_VM_objects().count - 1], raw) << "a new object is appended to the table";
  EXPECT_EQ(raw->_VM_index, _VM_objects().count - 1);
  VMPtr<Object> ref(raw);
  _VM_endConstruction(raw);
  EXPECT_EQ(raw->_VM_flags, 0x01u);
  EXPECT_EQ(Object::_VM_new()->_VM_flags, 0x01u);
}

TEST(Object, IdentityHashEqualsAndText) {
  VMTestEnv::start();
  VMPtr<Object> a = Object::_VM_new();
  VMPtr<Object> b = Object::_VM_new();
  EXPECT_EQ(a->hashCode(), static_cast<int32_t>(reinterpret_cast<uintptr_t>(a.get())));
  EXPECT_TRUE(a->equals(a));
  EXPECT_FALSE(a->equals(b));
  EXPECT_FALSE(a->equals(VMPtr<Object>()));
  char expected[64];
  std::snprintf(expected, sizeof expected, "java.lang.Object@%x", static_cast<unsigned>(a->hashCode()));
  EXPECT_TRUE(a->toString()->_VM_equals(expected));
  EXPECT_EQ(a->getClass().get(), Object::_VM_class);
}

}  // namespace

namespace {

// When the table of all objects cannot grow, the new object fails with an
// ordinary OutOfMemoryError, built in the entry the table keeps for it.
TEST(Object, AFullObjectTableGivesOutOfMemoryError) {
  VMTestEnv::start();
  if (_VM_gcStressMode()) GTEST_SKIP() << "collections would empty the table as it is filled";
  // The test closes the platform heap; the error's own block must then come
  // from the size classes, which sanitizer builds do without.
  if (!VMSmallBlocks::kEnabled) GTEST_SKIP() << "no size classes in sanitizer builds";
  VMObjectList& table = _VM_objects();
  VMPtr<VMArray<Object>> keep = VMArray<Object>::create(100000);
  int32_t kept = 0;
  while (table.count + 1 < table.capacity) keep->set(kept++, Object::_VM_new());
  const uint32_t capacity = table.capacity;
  CeProcessHeap::setAllocationsLeft(0);
  EXPECT_THROW(Object::_VM_new(), java::lang::OutOfMemoryError*);
  CeProcessHeap::setAllocationsLeft(CeProcessHeap::kUnlimited);
  EXPECT_EQ(table.capacity, capacity);
  EXPECT_LE(table.count, table.capacity);
  // With memory back, the table grows again.
  VMPtr<Object> more = Object::_VM_new();
  EXPECT_GT(table.capacity, capacity);
}

}  // namespace
