// Allocation and collection of small objects, side by side with malloc/free
// and with the Boehm collector on the same object graph.
//
//   Allocate*: make one small two-field node and drop it, over and over (the
//              runtime's cost includes its share of the collections it
//              triggers).
//   Collect*:  one full collection while a binary tree of 2^17 nodes is live.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "VMClassKit.h"
#include "VMCollector.h"
#include "VMContext.h"
#include "VMTestEnv.h"

#ifdef JME_HAVE_BOEHM_GC
#include <gc/gc.h>
#endif

namespace bench {

class Node : public virtual java::lang::Object {
  VM_CLASS(Node)

 public:
  void _VM_markReferences(int colour) override {
    _VM_markFields(colour, left, right);
    Object::_VM_markReferences(colour);
  }
  VMField<Node> left;
  VMField<Node> right;
};

}  // namespace bench

VM_REGISTER_CLASS(bench::Node, "bench.Node", "java.lang.Object", 0);

namespace {

using bench::Node;

// The same shape in plain memory.
struct PlainNode {
  PlainNode* left;
  PlainNode* right;
  int32_t payload[6];
};

constexpr int kTreeDepth = 17;

void startVM() { VMTestEnv::start(64ull << 20, 256ull << 20); }

void AllocateRuntime(benchmark::State& state) {
  startVM();
  for (auto _ : state) {
    VMPtr<Node> n = Node::_VM_new();
    benchmark::DoNotOptimize(n.get());
  }
}
BENCHMARK(AllocateRuntime);

void AllocateMalloc(benchmark::State& state) {
  for (auto _ : state) {
    auto* n = static_cast<PlainNode*>(std::calloc(1, sizeof(Node)));
    benchmark::DoNotOptimize(n);
    std::free(n);
  }
}
BENCHMARK(AllocateMalloc);

VMPtr<Node> runtimeTree(int depth) {
  VMPtr<Node> n = Node::_VM_new();
  if (depth > 0) {
    n->left = runtimeTree(depth - 1);
    n->right = runtimeTree(depth - 1);
  }
  return n;
}

void CollectRuntime(benchmark::State& state) {
  startVM();
  VMPtr<Node> tree = runtimeTree(kTreeDepth);
  for (auto _ : state) _VM_collect();
  state.counters["objects"] = static_cast<double>(_VM_objects().count);
}
BENCHMARK(CollectRuntime)->Unit(benchmark::kMillisecond);

#ifdef JME_HAVE_BOEHM_GC
void AllocateBoehm(benchmark::State& state) {
  GC_INIT();
  for (auto _ : state) {
    auto* n = static_cast<PlainNode*>(GC_MALLOC(sizeof(Node)));
    benchmark::DoNotOptimize(n);
  }
}
BENCHMARK(AllocateBoehm);

PlainNode* boehmTree(int depth) {
  auto* n = static_cast<PlainNode*>(GC_MALLOC(sizeof(Node)));
  if (depth > 0) {
    n->left = boehmTree(depth - 1);
    n->right = boehmTree(depth - 1);
  }
  return n;
}

void CollectBoehm(benchmark::State& state) {
  GC_INIT();
  PlainNode* volatile tree = boehmTree(kTreeDepth);
  for (auto _ : state) GC_gcollect();
  benchmark::DoNotOptimize(tree);
}
BENCHMARK(CollectBoehm)->Unit(benchmark::kMillisecond);
#endif

}  // namespace
