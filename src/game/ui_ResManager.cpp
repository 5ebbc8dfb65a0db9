#include "ui_ResManager.h"

#include "java_lang_System.h"
#include "tq_Resources.h"
#include "tq_ResourcesExt.h"

VM_REGISTER_CLASS(ui::ResManager, "ui.ResManager", "java.lang.Object", VM_INSTANTIABLE);

namespace ui {

using tq::AnimSet;
using tq::Gob;
using Ints = VMArray<int32_t>;

int32_t ResManager::capacity;
int32_t ResManager::growStep;
int32_t ResManager::count;
int32_t ResManager::lastGobIndex;
int32_t ResManager::lastAnimSetIndex;
VMStatic<VMArray<int32_t, 2>> ResManager::ids;
VMStatic<VMArray<Gob, 2>> ResManager::gobSets;
VMStatic<Ints> ResManager::gobRefCounts;
VMStatic<VMArray<AnimSet>> ResManager::animSets;
VMStatic<Ints> ResManager::animSetRefCounts;

namespace {

// A copy of `from` `size` long, its first `kept` elements copied.
template <class A>
VMPtr<A> grown(const VMPtr<A>& from, int32_t size, int32_t kept) {
  VMPtr<A> to = A::create(size);
  java::lang::System::arraycopy(from, 0, to, 0, kept);
  return to;
}

}  // namespace

VMPtr<ResManager> ResManager::_VM_init() {
  Base::_VM_init();
  makeTables(kInitialCapacity);
  return VMPtr<ResManager>(this);
}

void ResManager::makeTables(int32_t size) {
  VMPtr<VMArray<int32_t, 2>> newIds = VMArray<int32_t, 2>::createMulti(2, 2, size);
  VMPtr<VMArray<Gob, 2>> newGobs = VMArray<Gob, 2>::createMulti(1, size);
  VMPtr<Ints> newGobCounts = Ints::create(size);
  VMPtr<VMArray<AnimSet>> newSets = VMArray<AnimSet>::create(size);
  VMPtr<Ints> newSetCounts = Ints::create(size);
  _VM_clinitCheck();
  install(newIds, newGobs, newGobCounts, newSets, newSetCounts, size);
  growStep = kInitialCapacity;
  count = 0;
  lastGobIndex = -1;
  lastAnimSetIndex = -1;
}

void ResManager::install(VMPtr<VMArray<int32_t, 2>> newIds, VMPtr<VMArray<Gob, 2>> newGobs,
                         VMPtr<Ints> newGobCounts, VMPtr<VMArray<AnimSet>> newSets, VMPtr<Ints> newSetCounts,
                         int32_t size) {
  ids = newIds;
  gobSets = newGobs;
  gobRefCounts = newGobCounts;
  animSets = newSets;
  animSetRefCounts = newSetCounts;
  capacity = size;
}

int32_t ResManager::find(int32_t kind, int32_t id) {
  _VM_clinitCheck();
  VMPtr<Ints> row = VMPtr<VMArray<int32_t, 2>>(ids)->get(kind);
  int32_t found = count;
  for (int32_t i = 0; i < count; ++i) {
    if (row->at(i) == id) found = i;
  }
  return found;
}

// The loads store into slot `count` only once they have returned, and
// `count` moves only after both kinds are done: a throwing load leaves
// the tables as they were, apart from a sprite set loaded before it.
void ResManager::acquire(int32_t gobId, int32_t animSetId) {
  _VM_clinitCheck();
  lastGobIndex = -1;
  lastAnimSetIndex = -1;
  const int32_t gobIndex = gobId == -1 ? -1 : acquireGobs(gobId);
  const int32_t setIndex = animSetId == -1 ? -1 : acquireAnimSet(animSetId, gobIndex);
  if (gobIndex != -1) ++gobRefCounts->at(gobIndex);
  if (setIndex != -1) ++animSetRefCounts->at(setIndex);
  lastGobIndex = gobIndex;
  lastAnimSetIndex = setIndex;
  if (gobIndex == count || setIndex == count) ++count;
  if (count == capacity) grow();
}

int32_t ResManager::acquireGobs(int32_t gobId) {
  const int32_t slot = find(0, gobId);
  if (slot != count) return slot;
  VMPtr<Gobs> set = tq::ResourcesExt::getGobs(gobId);
  tq::Resources::closePack();
  gobSets->set(slot, set);
  ids->get(0)->at(slot) = gobId;
  return slot;
}

int32_t ResManager::acquireAnimSet(int32_t animSetId, int32_t gobIndex) {
  const int32_t slot = find(1, animSetId);
  if (slot != count) return slot;
  VMPtr<AnimSet> set = tq::Resources::getAnimSet(animSetId);
  if (gobIndex != -1) set->setGobs(VMPtr<Gobs>(gobSets->get(gobIndex)));
  tq::Resources::closePack();
  animSets->set(slot, set);
  ids->get(1)->at(slot) = animSetId;
  return slot;
}

int32_t ResManager::getGobIndex() {
  _VM_clinitCheck();
  return lastGobIndex;
}

int32_t ResManager::getAnimSetIndex() {
  _VM_clinitCheck();
  return lastAnimSetIndex;
}

void ResManager::release(int32_t gobIndex, int32_t animSetIndex) {
  _VM_clinitCheck();
  if (gobIndex != -1 && --gobRefCounts->at(gobIndex) == 0) {
    gobSets->set(gobIndex, nullptr);
    ids->get(0)->at(gobIndex) = -1;
  }
  if (animSetIndex != -1 && --animSetRefCounts->at(animSetIndex) == 0) {
    animSets->set(animSetIndex, nullptr);
    ids->get(1)->at(animSetIndex) = -1;
  }
}

void ResManager::grow() {
  int32_t step = capacity / 2;
  if (step > 15) step = 15;
  if (step < kInitialCapacity) step = kInitialCapacity;
  const int32_t size = capacity + step;
  VMPtr<VMArray<Gob, 2>> newGobs = grown(VMPtr<VMArray<Gob, 2>>(gobSets), size, capacity);
  VMPtr<Ints> newGobCounts = grown(VMPtr<Ints>(gobRefCounts), size, capacity);
  VMPtr<VMArray<AnimSet>> newSets = grown(VMPtr<VMArray<AnimSet>>(animSets), size, capacity);
  VMPtr<Ints> newSetCounts = grown(VMPtr<Ints>(animSetRefCounts), size, capacity);
  VMPtr<VMArray<int32_t, 2>> newIds = VMArray<int32_t, 2>::createMulti(1, 2);
  newIds->set(0, grown(VMPtr<Ints>(ids->get(0)), size, capacity));
  newIds->set(1, grown(VMPtr<Ints>(ids->get(1)), size, capacity));
  install(newIds, newGobs, newGobCounts, newSets, newSetCounts, size);
  growStep = step;
}

void ResManager::reset() {
  _VM_clinitCheck();
  lastGobIndex = -1;
  lastAnimSetIndex = -1;
  VMPtr<VMArray<Gob, 2>> gobs = gobSets;
  VMPtr<VMArray<AnimSet>> sets = animSets;
  for (int32_t i = 0; gobs && i < gobs->length; ++i) {
    gobs->set(i, nullptr);
    gobRefCounts->at(i) = 0;
  }
  for (int32_t i = 0; sets && i < sets->length; ++i) {
    sets->set(i, nullptr);
    animSetRefCounts->at(i) = 0;
  }
  VMPtr<VMArray<int32_t, 2>> table = ids;
  for (int32_t k = 0; table && k < 2; ++k) {
    VMPtr<Ints> row = table->get(k);
    for (int32_t i = 0; i < row->length; ++i) row->at(i) = -1;
  }
  count = 0;
}

void ResManager::freeAll() {
  reset();
  gobSets = nullptr;
  animSets = nullptr;
  capacity = kInitialCapacity;
  growStep = kInitialCapacity;
}

}  // namespace ui
