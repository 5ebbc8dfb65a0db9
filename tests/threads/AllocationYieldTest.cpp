// An allocation that runs short of heap lets other Java threads run between
// its collections (the allocator's yield). What those threads do meanwhile
// must not break the allocation that was under way.
#include "HALList.h"
#include "HALMemory.h"
#include "HALStringMap.h"
#include "JavaThreadTestSupport.h"
#include "VMArray.h"
#include "VMHeap.h"
#include "VMObject.h"
#include "java_lang_String.h"

namespace jthreads_test {

// A class of its own, so that no array of it exists before the test.
class ReviewElement : public virtual java::lang::Object {
  VM_CLASS(ReviewElement, java::lang::Object)
};

}  // namespace jthreads_test

VM_REGISTER_CLASS(jthreads_test::ReviewElement, "jthreads_test.ReviewElement", "java.lang.Object", 0);

namespace jthreads_test {
namespace {

using java::lang::Class;
using java::lang::Object;
using java::lang::Thread;

// Squeezes the heap to what is in use plus `room` bytes, after a collection
// has freed what it could: a larger allocation then collects twice and
// yields the global lock. Returns the old minimum and maximum.
std::pair<uint64_t, uint64_t> squeezeHeap(uint64_t room) {
  VMHeapState& heap = _VM_heapState();
  const std::pair<uint64_t, uint64_t> old{heap.minimum, heap.maximum};
  _VM_collect();
  const uint64_t inUse = HAL_getMemoryInUse() + heap.allocated.load() + room;
  heap.minimum = inUse;
  heap.maximum = inUse;
  heap.limit = inUse;
  return old;
}

void restoreHeap(std::pair<uint64_t, uint64_t> old) {
  VMHeapState& heap = _VM_heapState();
  heap.minimum = old.first;
  heap.maximum = old.second;
  heap.limit = old.second;
}

// The main thread allocates while the heap is squeezed to what is in use, so
// the allocator collects twice and yields. The thread waiting for the global
// lock then gives the heap its room back and fills the table of all objects
// to its last entry for ordinary objects. The object whose allocation was under way still
// needs an entry of its own.
TEST_F(JavaThreads, ObjectTableHasRoomAfterAnAllocationLetOtherThreadsRun) {
  VMHeapState& heap = _VM_heapState();
  const VMObjectList& objects = _VM_objects();
  VMPtr<VMArray<Object>> kept = VMArray<Object>::create(static_cast<int32_t>(2 * objects.capacity + 2));
  VMArray<Object>* keep = kept.get();

  std::pair<uint64_t, uint64_t> old{heap.minimum, heap.maximum};
  VMPtr<Thread> filler = startThread([&old, keep, &objects] {
    restoreHeap(old);
    // The table keeps its last entry for the error that reports it full.
    for (int32_t i = 0; i < keep->length && objects.count + 1 < objects.capacity; ++i) keep->set(i, Object::_VM_new());
    events.push_back(objects.count + 1 == objects.capacity ? "table full" : "table not full");
  });
  // The filler waits for the global lock, which this thread keeps.
  ASSERT_TRUE(threads_test::waitForGlobalLockWaiters(1));

  old = squeezeHeap(0);
  VMPtr<Object> made = Object::_VM_new();

  EXPECT_TRUE(happened("table full"));
  EXPECT_LE(objects.count, objects.capacity);
  ASSERT_LT(made->_VM_index, objects.count);
  EXPECT_EQ(objects[made->_VM_index], made.get());
  EXPECT_TRUE(waitForEnd(filler));
}

// The first array of a type makes its array class. When making the class
// object lets another thread run (here: the allocator's yield), and that
// thread makes the first array of the same type, both end with the one
// class object registered under the array's name.
TEST_F(JavaThreads, ArrayClassMadeWhileAnotherThreadMakesItToo) {
  const std::string name = "[Ljthreads_test.ReviewElement;";
  ASSERT_EQ(_VM_findClass(name.c_str()), nullptr);
  std::pair<uint64_t, uint64_t> old{};
  Class* madeThere = nullptr;
  VMPtr<Thread> other = startThread([&old, &madeThere] {
    restoreHeap(old);
    madeThere = VMArray<ReviewElement>::classObject();
    events.push_back("made there");
  });
  ASSERT_TRUE(threads_test::waitForGlobalLockWaiters(1));

  // Room for the class name, not for the class object.
  old = squeezeHeap(128);
  Class* madeHere = VMArray<ReviewElement>::classObject();
  ASSERT_TRUE(waitForEnd(other));

  EXPECT_TRUE(happened("made there"));
  EXPECT_EQ(madeHere, madeThere);
  EXPECT_EQ(_VM_findClass(name.c_str()), madeHere);
  EXPECT_EQ(VMArray<ReviewElement>::classObject(), madeHere);
}

// The runtime's lists and maps take their nodes from the heap: a node made
// while another thread adds to the same list or map loses nothing.
TEST_F(JavaThreads, ListAndMapAdditionsMadeWhileAnotherThreadAddsToo) {
  static int first = 1, second = 2, third = 3;
  HALList list;
  list.addLast(&first);
  HALStringMap map;
  std::pair<uint64_t, uint64_t> old{};
  VMPtr<Thread> other = startThread([&old, &list, &map] {
    restoreHeap(old);
    list.addFirst(&second);
    list.addLast(&second);
    map.put("there", &second);
    map.put("both", &second);
    events.push_back("added there");
  });
  ASSERT_TRUE(threads_test::waitForGlobalLockWaiters(1));

  // No room for a list node: its allocation collects and yields.
  old = squeezeHeap(0);
  list.addFirst(&third);
  list.addLast(&third);
  map.put("here", &third);
  map.put("both", &third);
  ASSERT_TRUE(waitForEnd(other));

  EXPECT_TRUE(happened("added there"));
  int nodes = 0;
  for (HALListNode* n = list.getFirst(); n != nullptr; n = list.getNext(n)) ++nodes;
  EXPECT_EQ(nodes, 5);
  int backwards = 0;
  for (HALListNode* n = list.getFirst(); n != nullptr && n->next != nullptr; n = n->next) {
    EXPECT_EQ(n->next->prev, n);
    ++backwards;
  }
  EXPECT_EQ(backwards, 4);
  void* value = nullptr;
  EXPECT_TRUE(map.get("there", &value));
  EXPECT_TRUE(map.get("here", &value));
  EXPECT_TRUE(map.get("both", &value));
  EXPECT_EQ(map.count(), 3u);
}

// The main thread interns a new text while the heap is squeezed, so its
// allocation yields; the thread that runs meanwhile interns the same text.
// Both must get the same String.
TEST_F(JavaThreads, InterningTheSameTextDuringAnAllocationGivesOneString) {
  VMHeapState& heap = _VM_heapState();
  std::pair<uint64_t, uint64_t> old{heap.minimum, heap.maximum};
  java::lang::String* other = nullptr;
  VMPtr<Thread> rival = startThread([&old, &other] {
    restoreHeap(old);
    other = _VM_intern("interned by two threads").get();
    events.push_back("rival interned");
  });
  ASSERT_TRUE(threads_test::waitForGlobalLockWaiters(1));
  old = squeezeHeap(0);
  VMPtr<java::lang::String> mine = _VM_intern("interned by two threads");
  EXPECT_TRUE(happened("rival interned"));
  EXPECT_EQ(mine.get(), other);
  EXPECT_EQ(_VM_intern("interned by two threads").get(), mine.get());
  EXPECT_TRUE(waitForEnd(rival));
}

}  // namespace
}  // namespace jthreads_test
