// The collector: what survives a collection and what is freed.
#include <gtest/gtest.h>

#include "VMArray.h"
#include "VMClassKit.h"
#include "VMCollector.h"
#include "VMContext.h"
#include "VMTestEnv.h"
#include "VMThread.h"
#include "VMThrow.h"
#include "java_lang_IllegalStateException.h"
#include "java_lang_String.h"

using namespace java::lang;

namespace test {

// A node that counts live instances and holds one traced and, optionally,
// one untraced reference (a field its trace forgets).
class Node : public virtual Object {
  VM_CLASS(Node, Object)

 public:
  Node() { ++live; }
  ~Node() override { --live; }
  void _VM_markReferences(int colour) override {
    _VM_mark(next, colour);
    Object::_VM_markReferences(colour);
  }
  VMField<Node> next;
  VMField<Node> forgotten;
  static inline int live = 0;
};

}  // namespace test

VM_REGISTER_CLASS(test::Node, "test.Node", "java.lang.Object", VM_INSTANTIABLE);

namespace {

using test::Node;

VMPtr<Node> node() { return Node::_VM_new(); }

void collect() { _VM_collect(_VM_vm); }

TEST(Collector, ReachabilityTable) {
  VMTestEnv::start();
  collect();
  const int base = Node::live;
  VMStatic<Node> fromStatic(node());
  VMNative<Node> fromNative(node());
  VMPtr<Node> fromStack = node();
  VMWeak<Node> weakOnly(node());
  {
    // A cycle reachable from nowhere.
    VMPtr<Node> a = node();
    VMPtr<Node> b = node();
    a->next = b;
    b->next = a;
  }
  {
    // A field of an unreachable owner dies with it.
    VMPtr<Node> owner = node();
    owner->next = node();
  }
  // A chain hanging off a root survives whole.
  fromStack->next = node();
  fromStack->next->next = node();
  if (!_VM_gcStressMode()) {
    EXPECT_EQ(Node::live, base + 10);
  }
  collect();
  EXPECT_EQ(Node::live, base + 5);
  EXPECT_TRUE(weakOnly.isNull()) << "weak references are cleared when the target dies";
  EXPECT_FALSE(fromStatic.isNull());
  EXPECT_EQ(fromStatic->_VM_flags & 0x3u, 0x3u);
}

TEST(Collector, ObjectsUnderConstructionSurviveWithWhatTheyReference) {
  VMTestEnv::start();
  collect();
  const int base = Node::live;
  Node* building = new Node();  // referenced from nowhere yet
  {
    VMPtr<Node> child = node();
    building->next = child;
  }
  collect();
  EXPECT_EQ(Node::live, base + 2);
  EXPECT_EQ(building->_VM_flags & VM_FLAG_MARKED, VM_FLAG_MARKED);
  _VM_endConstruction(building);
  collect();
  EXPECT_EQ(Node::live, base);
}

TEST(Collector, AMillionObjectChainDoesNotOverflowTheStack) {
  VMTestEnv::start(512ull << 20, 512ull << 20);
  if (_VM_gcStressMode()) GTEST_SKIP() << "a million collections";
  collect();
  const int base = Node::live;
  VMPtr<Node> head = node();
  {
    VMPtr<Node> tail = head;
    for (int i = 0; i < 1000000; ++i) {
      VMPtr<Node> next = node();
      tail->next = next;
      tail = next;
    }
  }
  collect();
  EXPECT_EQ(Node::live, base + 1000001);
  head = nullptr;
  collect();
  EXPECT_EQ(Node::live, base);
}

TEST(Collector, ArraysOfEveryDimensionTraceTheirElements) {
  VMTestEnv::start();
  collect();
  const int base = Node::live;
  VMPtr<VMArray<Node, 2>> grid = VMArray<Node, 2>::createMulti(2, 2, 2);
  grid->get(0)->set(1, node());
  grid->get(1)->set(0, node());
  VMPtr<VMArray<Node, 2>> rows = VMArray<Node, 2>::createMulti(1, 1);
  VMPtr<VMArray<Node>> row = VMArray<Node>::create(1);
  row->set(0, node());
  rows->set(0, row);
  row = nullptr;
  collect();
  EXPECT_EQ(Node::live, base + 3);
  grid = nullptr;
  rows = nullptr;
  collect();
  EXPECT_EQ(Node::live, base);
}

TEST(Collector, NothingHappensBeforeTheVMAllowsIt) {
  VMTestEnv::start();
  if (_VM_gcStressMode()) GTEST_SKIP() << "the allocation itself collects";
  collect();
  const int base = Node::live;
  const uint64_t count = _VM_vm->collectionCount;
  { node(); }
  _VM_vm->stage = VMContext::kCollectionStage - 1;
  collect();
  EXPECT_EQ(Node::live, base + 1);
  EXPECT_EQ(_VM_vm->collectionCount, count);
  _VM_vm->stage = VMContext::kCollectionStage;
  collect();
  EXPECT_EQ(Node::live, base);
}

// The exception in flight is a root: a handler that allocates before it
// binds the exception still finds it alive.
TEST(Collector, TheExceptionInFlightIsARoot) {
  VMTestEnv::start();
  try {
    _VM_throwNew<IllegalStateException>("in flight");
  } catch (IllegalStateException* e) {
    collect();
    VMPtr<String> other = String::_VM_fromUTF8("allocating before binding");
    VMPtr<IllegalStateException> bound(e);
    EXPECT_TRUE(bound->getMessage()->_VM_equals("in flight"));
  }
}

// What the stress mode finds: a field that a trace forgets is freed while its
// owner still holds it (AddressSanitizer then reports the use).
TEST(Collector, AForgottenFieldIsFreedUnderItsOwner) {
  VMTestEnv::start();
  collect();
  const int base = Node::live;
  VMPtr<Node> owner = node();
  owner->forgotten = node();
  collect();
  EXPECT_EQ(Node::live, base + 1) << "the forgotten field's target was collected";
  owner->forgotten = nullptr;
}

TEST(Collector, FinalizableObjectsAreKeptAndHandedOver) {
  VMTestEnv::start();
  collect();
  static int handOvers = 0;
  _VM_finalizerHandOver = [](VMContext*) { ++handOvers; };
  const int base = Node::live;
  {
    VMPtr<Node> n = node();
    n->next = node();
    n->_VM_flags |= VM_FLAG_FINALIZABLE;
  }
  collect();
  EXPECT_EQ(Node::live, base + 2);
  EXPECT_EQ(handOvers, 1);
  EXPECT_EQ(_VM_vm->finalizableFound, 1);
}

}  // namespace
