#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"
#include "tq_TqCanvas.h"

namespace main {

// The player's saved progress and the coordinates of the level in play.
//
// Three arrays, each kept in a numbered record of the canvas (record n is
// the record store named "n"):
//   0  unlockFlags   byte[55], saved as 110 bytes (second half 0): bytes
//                    0..4 the tier page's entries, then ten bytes per
//                    group g at 5 + 10 g, byte 5 + 10 g + s for stage s;
//   1  progressFlags byte[262], saved as 524 bytes: finished levels
//                    (s + 25 t + 5 g), finished with grade 3 (+ 125),
//                    finished tiers (250 + t), all tiers (255), perfect
//                    tiers (256 + t), all perfect (261);
//   2  bestGrades    int[250], saved as 1000 bytes big-endian, the best
//                    grade 0..3 of level s + 50 t + 10 g.
// Flags are 0 or 1 in memory and on disk (a stored non-zero byte loads as
// 1). A missing record is built fresh and written at once. A record
// shorter than its elements gives the elements it holds whole; the rest
// take their fresh values and the record is written back complete, so the
// player's progress survives a cut record.
//
// Each load or save sets the canvas's shared read or write buffer and
// uses it to the end without anything in between that could yield.
class Game : public virtual java::lang::Object {
  VM_CLASS(Game, java::lang::Object)

 public:
  static constexpr int32_t kUnlockCount = 55;
  static constexpr int32_t kProgressCount = 262;
  static constexpr int32_t kBestCount = 250;
  static constexpr int32_t kUnlockBytes = 110;
  static constexpr int32_t kProgressBytes = 524;
  static constexpr int32_t kBestBytes = 1000;

  // Keeps `canvas` for the record operations and loads the three stores:
  // unlocks, progress, best grades.
  VMPtr<Game> _VM_init(VMPtr<tq::TqCanvas> canvas);

  virtual void load();
  virtual void loadProgress();
  virtual void loadUnlocks();
  virtual void save();
  virtual void saveProgress();
  virtual void saveUnlocks();

  // Fresh arrays; nothing is saved.
  static void resetUnlocks();
  static void resetProgress();
  static void resetBest();

  static int32_t unlockIndex(int32_t group, int32_t stage) { return 5 + 10 * group + stage; }
  static int32_t progressIndex(int32_t tier, int32_t group, int32_t stage) { return stage + 25 * tier + 5 * group; }
  static int32_t bestIndex(int32_t tier, int32_t group, int32_t stage) { return stage + 50 * tier + 10 * group; }

  void _VM_markReferences(int colour) override;
  static void _VM_clinit();

  VMField<tq::TqCanvas> canvas;

  static int32_t tier;
  static int32_t group;
  static int32_t stage;
  static VMStatic<VMArray<int8_t>> unlockFlags;
  static VMStatic<VMArray<int8_t>> progressFlags;
  static VMStatic<VMArray<int32_t>> bestGrades;
  // The bytes last read from or written to each store.
  static VMStatic<VMArray<int8_t>> unlockBytes;
  static VMStatic<VMArray<int8_t>> progressBytes;
  static VMStatic<VMArray<int8_t>> bestBytes;

 private:
  void loadFlags(int32_t record, VMStatic<VMArray<int8_t>>& raw, VMStatic<VMArray<int8_t>>& flags, void (*reset)(),
                 void (Game::*write)());
  VMPtr<VMArray<int8_t>> saveFlags(int32_t record, VMPtr<VMArray<int8_t>> flags, int32_t size);
};

}  // namespace main
