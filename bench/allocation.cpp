// Allocation and collection of small objects, side by side with malloc/free
// and with the Boehm collector on the same object graph.
//
//   Build*:   build a binary tree of 2^17 small two-field nodes, then give it
//             back (free every node; drop the root and collect; drop the root
//             and collect) - allocation and reclamation of the same graph.
//   Collect*: one full collection while that tree is live.
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
  VM_CLASS(Node, java::lang::Object)

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

VMPtr<Node> runtimeTree(int depth) {
  VMPtr<Node> n = Node::_VM_new();
  if (depth > 0) {
    n->left = runtimeTree(depth - 1);
    n->right = runtimeTree(depth - 1);
  }
  return n;
}

void BuildRuntime(benchmark::State& state) {
  startVM();
  for (auto _ : state) {
    {
      VMPtr<Node> tree = runtimeTree(kTreeDepth);
      benchmark::DoNotOptimize(tree.get());
    }
    _VM_collect();
  }
}
BENCHMARK(BuildRuntime)->Unit(benchmark::kMillisecond);

PlainNode* mallocTree(int depth) {
  auto* n = static_cast<PlainNode*>(std::calloc(1, sizeof(Node)));
  if (depth > 0) {
    n->left = mallocTree(depth - 1);
    n->right = mallocTree(depth - 1);
  }
  return n;
}

void freeTree(PlainNode* n) {
  if (n == nullptr) return;
  freeTree(n->left);
  freeTree(n->right);
  std::free(n);
}

void BuildMalloc(benchmark::State& state) {
  for (auto _ : state) {
    PlainNode* tree = mallocTree(kTreeDepth);
    benchmark::DoNotOptimize(tree);
    freeTree(tree);
  }
}
BENCHMARK(BuildMalloc)->Unit(benchmark::kMillisecond);

void CollectRuntime(benchmark::State& state) {
  startVM();
  VMPtr<Node> tree = runtimeTree(kTreeDepth);
  for (auto _ : state) _VM_collect();
  state.counters["objects"] = static_cast<double>(_VM_objects().count);
}
BENCHMARK(CollectRuntime)->Unit(benchmark::kMillisecond);

#ifdef JME_HAVE_BOEHM_GC
PlainNode* boehmTree(int depth) {
  auto* n = static_cast<PlainNode*>(GC_MALLOC(sizeof(Node)));
  if (depth > 0) {
    n->left = boehmTree(depth - 1);
    n->right = boehmTree(depth - 1);
  }
  return n;
}

void BuildBoehm(benchmark::State& state) {
  GC_INIT();
  for (auto _ : state) {
    {
      PlainNode* volatile tree = boehmTree(kTreeDepth);
      benchmark::DoNotOptimize(tree);
      tree = nullptr;
    }
    GC_gcollect();
  }
}
BENCHMARK(BuildBoehm)->Unit(benchmark::kMillisecond);

void CollectBoehm(benchmark::State& state) {
  GC_INIT();
  PlainNode* volatile tree = boehmTree(kTreeDepth);
  for (auto _ : state) GC_gcollect();
  benchmark::DoNotOptimize(tree);
}
BENCHMARK(CollectBoehm)->Unit(benchmark::kMillisecond);
#endif

}  // namespace
