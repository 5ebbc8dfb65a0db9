#pragma once

#include <cstdint>

#include "VMClassKit.h"
#include "tq_AnimPlayer.h"
#include "ui_Addon.h"

namespace ui {

// The game's menu list: a column of rows inside the box's bounds, one per
// entry id, each a frame of the shared decoration set (sprite set 3077,
// animation set 3072) with the entry's translated text centred on it.
// Rows share the free height equally above each row and below the last;
// the list scrolls by whole rows (`firstRow`), plays a press animation
// over the held row and registers its arrow regions and row boxes with the
// touch state. Decoration frames: 0 row, 1 board-style row, 3 disabled
// row; animations 0 and 1 the press of the two styles; boxes of the row
// frame: kinds 1 to 4 the arrows, kind 5 a row's touch box.
//
// A disabled entry (id 0) is drawn with frame 3; from then on, in that
// paint and later ones, rows use the board-style frame 1. A row frame of
// height 0 gives no rows. Canvas thread only.
class ListMenu : public Addon {
  VM_CLASS(ListMenu, Addon)

 public:
  static constexpr int32_t kRowFrame = 0;
  static constexpr int32_t kBoardRowFrame = 1;
  static constexpr int32_t kDisabledRowFrame = 3;

  VMPtr<ListMenu> _VM_init();

  // Advances the press animation by the current scene's last gap.
  void tick() override;
  // The rows, then the box's own paint over them.
  void paint(VMPtr<Graphics> g) override;
  // Rows, gap and offsets from the bounds and the row frame; the arrow
  // regions and row boxes go to the touch state. The decoration set is
  // acquired by the first layout only.
  void layout() override;

  void _VM_markReferences(int colour) override;

  VMField<tq::AnimPlayer> pressAnim;

 private:
  void paintRows(VMPtr<Graphics> g);
};

}  // namespace ui
