// Array element access, side by side with the natural C++ alternative (a
// std::vector of the same elements):
//
//   GetString*:   read every element of a String[] of 4096 elements through
//                 the typed get (a scoped reference per element) and sum the
//                 lengths / the same over std::vector<String*>.
//   SetString*:   store a String into every element through the typed set /
//                 into every slot of the std::vector.
//   SetObjectRuntime: the typed store into an Object[] made as Object[] (the
//                 view is checked; compare with SetStringStd).
//   GetObject*:   read every element of an Object[] (Vector's storage) /
//                 std::vector<Object*>.
//   GetAsObject:  read every element of a String[] through an Object[] view
//                 of the same array (the covariant road).
//   SetAsObject:  store a String into every element of a String[] through
//                 an Object[] view of it (the checked covariant road).
//   AtInt*:       sum an int[] of 4096 elements through at(i) /
//                 std::vector<int32_t>.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "VMArray.h"
#include "VMTestEnv.h"
#include "java_lang_String.h"

namespace {

using java::lang::Object;
using java::lang::String;

constexpr int32_t kLength = 4096;

void startVM() { VMTestEnv::start(64ull << 20, 256ull << 20); }

// A String[] whose elements are a handful of distinct strings.
VMPtr<VMArray<String>> strings() {
  VMPtr<VMArray<String>> out = VMArray<String>::create(kLength);
  VMPtr<String> texts[4] = {String::_VM_fromUTF8("a"), String::_VM_fromUTF8("bb"), String::_VM_fromUTF8("ccc"),
                            String::_VM_fromUTF8("dddd")};
  for (int32_t i = 0; i < kLength; ++i) out->set(i, texts[i % 4]);
  return out;
}

void GetStringRuntime(benchmark::State& state) {
  startVM();
  VMPtr<VMArray<String>> a = strings();
  for (auto _ : state) {
    int32_t sum = 0;
    for (int32_t i = 0; i < a->length; ++i) sum += a->get(i)->length();
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kLength);
}
BENCHMARK(GetStringRuntime);

void GetStringStd(benchmark::State& state) {
  startVM();
  VMPtr<VMArray<String>> a = strings();
  std::vector<String*> v(kLength);
  for (int32_t i = 0; i < kLength; ++i) v[i] = a->get(i).get();
  for (auto _ : state) {
    int32_t sum = 0;
    for (String* s : v) sum += s->length();
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kLength);
}
BENCHMARK(GetStringStd);

// Stores `value` into every element of `a` through the typed set.
template <class A, class V>
void storeEverywhere(benchmark::State& state, const VMPtr<A>& a, const VMPtr<V>& value) {
  for (auto _ : state) {
    for (int32_t i = 0; i < a->length; ++i) a->set(i, value);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kLength);
}

void SetStringRuntime(benchmark::State& state) {
  startVM();
  storeEverywhere(state, strings(), String::_VM_fromUTF8("x"));
}
BENCHMARK(SetStringRuntime);

void SetStringStd(benchmark::State& state) {
  startVM();
  VMPtr<String> s = String::_VM_fromUTF8("x");
  std::vector<String*> v(kLength);
  for (auto _ : state) {
    for (String*& slot : v) slot = s.get();
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kLength);
}
BENCHMARK(SetStringStd);

void SetObjectRuntime(benchmark::State& state) {
  startVM();
  storeEverywhere(state, VMArray<Object>::create(kLength), VMPtr<Object>(String::_VM_fromUTF8("x")));
}
BENCHMARK(SetObjectRuntime);

void GetObjectRuntime(benchmark::State& state) {
  startVM();
  VMPtr<VMArray<String>> texts = strings();
  VMPtr<VMArray<Object>> a = VMArray<Object>::create(kLength);
  for (int32_t i = 0; i < kLength; ++i) a->set(i, texts->get(i));
  for (auto _ : state) {
    int32_t sum = 0;
    for (int32_t i = 0; i < a->length; ++i) sum += a->get(i) != nullptr;
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kLength);
}
BENCHMARK(GetObjectRuntime);

void GetObjectStd(benchmark::State& state) {
  startVM();
  VMPtr<VMArray<String>> texts = strings();
  std::vector<Object*> v(kLength);
  for (int32_t i = 0; i < kLength; ++i) v[i] = texts->get(i).get();
  for (auto _ : state) {
    int32_t sum = 0;
    for (Object* o : v) sum += o != nullptr;
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kLength);
}
BENCHMARK(GetObjectStd);

void GetAsObject(benchmark::State& state) {
  startVM();
  VMPtr<VMArray<Object>> a = strings();
  for (auto _ : state) {
    int32_t sum = 0;
    for (int32_t i = 0; i < a->length; ++i) sum += a->get(i) != nullptr;
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kLength);
}
BENCHMARK(GetAsObject);

void SetAsObject(benchmark::State& state) {
  startVM();
  storeEverywhere(state, VMPtr<VMArray<Object>>(strings()), VMPtr<Object>(String::_VM_fromUTF8("x")));
}
BENCHMARK(SetAsObject);

void AtIntRuntime(benchmark::State& state) {
  startVM();
  VMPtr<VMArray<int32_t>> a = VMArray<int32_t>::create(kLength);
  for (int32_t i = 0; i < kLength; ++i) a->at(i) = i;
  for (auto _ : state) {
    int32_t sum = 0;
    for (int32_t i = 0; i < a->length; ++i) sum += a->at(i);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kLength);
}
BENCHMARK(AtIntRuntime);

void AtIntStd(benchmark::State& state) {
  std::vector<int32_t> v(kLength);
  for (int32_t i = 0; i < kLength; ++i) v[i] = i;
  for (auto _ : state) {
    int32_t sum = 0;
    for (int32_t x : v) sum += x;
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kLength);
}
BENCHMARK(AtIntStd);

}  // namespace
