#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"
#include "tq_AnimSet.h"
#include "tq_Gob.h"

namespace ui {

// The reference-counted cache of sprite sets (tq.Gob[]) and animation
// sets (tq.AnimSet), by resource id, so that objects showing the same
// graphics share one loaded copy. All state is static; the controller
// constructs one instance to set the tables up.
//
// Slots are shared by both kinds (row 0 of `ids` sprite sets, row 1
// animation sets): an acquire that loads puts what it loads into slot
// `count` and advances `count` by one; a released slot (id -1) is not
// handed out again before reset or freeAll. Tables grow when `count`
// reaches `capacity`, by half the capacity, at least 5 and at most 15.
// A load that throws counts nothing and leaves `count` as it was; the
// next acquire of that id tries again. An animation set loaded without a
// sprite set (gob id -1) binds no sprites.
class ResManager : public virtual java::lang::Object {
  VM_CLASS(ResManager, java::lang::Object)

 public:
  using Gobs = VMArray<tq::Gob>;
  static constexpr int32_t kInitialCapacity = 5;

  // Sets up the tables at their first size.
  VMPtr<ResManager> _VM_init();

  // The slot of the entry of `kind` (0 sprites, 1 animations) with `id`
  // among slots 0 .. count - 1 (the last match); `count` when none.
  static int32_t find(int32_t kind, int32_t id);
  // One reference on each; -1 asks for none of that kind.
  static void acquire(int32_t gobId, int32_t animSetId);
  static int32_t getGobIndex();
  static int32_t getAnimSetIndex();
  // Drops one reference on each given slot; -1 for none.
  static void release(int32_t gobIndex, int32_t animSetIndex);
  // Forgets every entry; the tables keep their size.
  static void reset();
  // Forgets every entry and drops the object tables (nothing when they
  // are already gone).
  static void freeAll();

  static int32_t capacity;
  static int32_t growStep;
  static int32_t count;
  static int32_t lastGobIndex;
  static int32_t lastAnimSetIndex;
  static VMStatic<VMArray<int32_t, 2>> ids;
  static VMStatic<VMArray<tq::Gob, 2>> gobSets;
  static VMStatic<VMArray<int32_t>> gobRefCounts;
  static VMStatic<VMArray<tq::AnimSet>> animSets;
  static VMStatic<VMArray<int32_t>> animSetRefCounts;

 private:
  static void makeTables(int32_t size);
  static int32_t acquireGobs(int32_t gobId);
  static int32_t acquireAnimSet(int32_t animSetId, int32_t gobIndex);
  static void grow();
  // The new tables replace the old ones at once.
  static void install(VMPtr<VMArray<int32_t, 2>> newIds, VMPtr<VMArray<tq::Gob, 2>> newGobs,
                      VMPtr<VMArray<int32_t>> newGobCounts, VMPtr<VMArray<tq::AnimSet>> newSets,
                      VMPtr<VMArray<int32_t>> newSetCounts, int32_t size);
};

}  // namespace ui
