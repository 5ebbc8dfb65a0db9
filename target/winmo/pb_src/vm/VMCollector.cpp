#include "VMCollector.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "HALMemory.h"
#include "VMContext.h"
#include "VMThread.h"

void (*_VM_finalizerHandOver)(VMContext* vm) = nullptr;

namespace {

using java::lang::Object;

bool collecting = false;
bool noYieldForGood = false;
int markColour = VM_COLOUR_REACHED;

// Objects whose fields still have to be traced, in first-in first-out
// order. An object is queued without looking at it, with a prefetch, and
// examined only when it leaves the queue: by then its header is usually in
// the cache. The storage is kept between collections.
class WorkQueue {
 public:
  bool empty() const { return head_ == items_.size(); }
  void push(Object* o) {
    // The Object part (the header) ends the object; the fields to trace sit
    // just before it, so the line before the header is fetched as well.
    __builtin_prefetch(o);
    __builtin_prefetch(reinterpret_cast<const char*>(o) - 64);
    items_.push_back(o);
  }
  Object* pop() {
    Object* o = items_[head_++];
    if (head_ == items_.size()) {
      items_.clear();
      head_ = 0;
    } else if (head_ >= kCompactAt && head_ * 2 >= items_.size()) {
      // Drop the consumed front so a long drain keeps its queue small.
      items_.erase(items_.begin(), items_.begin() + static_cast<std::ptrdiff_t>(head_));
      head_ = 0;
    }
    return o;
  }

 private:
  static constexpr size_t kCompactAt = 4096;
  std::vector<Object*> items_;
  size_t head_ = 0;
};

WorkQueue workList;

void drain() {
  while (!workList.empty()) {
    Object* o = workList.pop();
    if (o->_VM_flags & VM_FLAG_MARKED) continue;
    o->_VM_flags |= static_cast<uint32_t>(markColour);
    o->_VM_markReferences(markColour);
  }
}

void markList(const VMRefList& list) {
  for (VMRef* r = list.head; r != nullptr; r = r->_VM_next()) {
    if (Object* o = r->getObject()) _VM_mark(o, markColour);
  }
}

template <class F>
void forEachThread(VMContext* vm, F f) {
  for (HALListNode* n = vm->threads.getFirst(); n != nullptr; n = vm->threads.getNext(n)) {
    f(static_cast<VMThread*>(vm->threads.getValue(n)));
  }
}

// How far ahead a scan of the object table fetches objects.
constexpr uint32_t kScanAhead = 8;

void fetchAhead(const VMObjectList& objects, uint32_t i) {
  if (i < objects.count) __builtin_prefetch(objects[i]);
}

void markAll(VMContext* vm) {
  const VMObjectList& objects = _VM_objects();
  int finalizable = 0;
  int constructing = 0;
  for (uint32_t i = 0; i < objects.count; ++i) {
    fetchAhead(objects, i + kScanAhead);
    Object* o = objects[i];
    o->_VM_flags &= ~uint32_t{VM_COLOUR_REACHED};
    if (o->_VM_flags & VM_FLAG_FINALIZABLE) ++finalizable;
    if (o->_VM_flags & VM_FLAG_CONSTRUCTING) ++constructing;
  }

  markColour = VM_COLOUR_REACHED;
  markList(_VM_nativeList);
  markList(_VM_staticList);
  forEachThread(vm, [](VMThread* t) {
    markList(t->stackList);
    if (t->exceptionInFlight != nullptr) _VM_mark(t->exceptionInFlight, markColour);
  });
  drain();

  if (finalizable == 0 && constructing == 0) return;
  vm->finalizableFound = finalizable > 0;
  // Unreached objects that must stay (under construction, or waiting for
  // the finalizer) keep everything they reference.
  markColour = VM_COLOUR_KEPT;
  for (uint32_t i = 0; i < objects.count; ++i) {
    Object* o = objects[i];
    if (!(o->_VM_flags & VM_FLAG_REACHABLE) && (o->_VM_flags & (VM_FLAG_FINALIZABLE | VM_FLAG_CONSTRUCTING))) {
      _VM_mark(o, markColour);
    }
  }
  drain();
}

void clearUnmarked(VMRefList& list) {
  for (VMRef* r = list.head; r != nullptr; r = r->_VM_next()) {
    Object* o = r->getObject();
    if (o != nullptr && !(o->_VM_flags & VM_FLAG_MARKED)) r->clear();
  }
}

void sweep(VMContext* vm) {
  clearUnmarked(_VM_weakList);
  // Downwards: deleting an object moves the last entry, which this scan has
  // already seen, into its place.
  const VMObjectList& objects = _VM_objects();
  for (uint32_t i = objects.count; i-- > 0;) {
    if (i >= kScanAhead) __builtin_prefetch(objects[i - kScanAhead]);
    Object* o = objects[i];
    if (!(o->_VM_flags & VM_FLAG_MARKED)) delete o;
  }
  // Thread records: every out-of-memory report has ended. A record goes once
  // its Thread object is gone and its platform thread has finished (deleting
  // it joins that thread); the record of a thread that is still ending stays
  // for a later collection.
  HALListNode* n = vm->threads.getFirst();
  while (n != nullptr) {
    HALListNode* next = vm->threads.getNext(n);
    VMThread* t = static_cast<VMThread*>(vm->threads.getValue(n));
    t->reportingOutOfMemory = 0;
    if (t->isCollectable()) delete t;
    n = next;
  }
}

}  // namespace

void _VM_mark(Object* o, int /*colour*/) { workList.push(o); }

bool _VM_inNoYieldWindow() { return collecting || noYieldForGood; }

void _VM_enterNoYieldWindowForGood() { noYieldForGood = true; }

void _VM_collect(VMContext* vm) {
  if (vm == nullptr || vm->stage < VMContext::kCollectionStage || collecting) return;
  collecting = true;
  vm->finalizableFound = 0;
  markAll(vm);
  sweep(vm);
  // Compacting the process heap is slow; in stress mode (a collection at
  // every allocation) it would dominate the run, so it is left out there.
  if (!_VM_gcStressMode()) HAL_compactMemory();
  ++vm->collectionCount;
  collecting = false;
  if (vm->finalizableFound && _VM_finalizerHandOver != nullptr) _VM_finalizerHandOver(vm);
}

void _VM_collect() { _VM_collect(_VM_vm); }

bool _VM_gcStressMode() {
  static const bool stress = [] {
    const char* v = std::getenv("JME_GC_STRESS");
    return v != nullptr && *v != '\0' && std::strcmp(v, "0") != 0;
  }();
  return stress;
}
