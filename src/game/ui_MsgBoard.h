#pragma once

#include <cstdint>

#include "VMClassKit.h"
#include "tq_AnimPlayer.h"
#include "ui_Addon.h"

namespace ui {

// The message and confirmation box: a frame of the box frame set centred
// on the screen, its wrapped text or items, and a row of answer buttons
// placed on the frame's boxes of kind 3 + i. Each answer is a translation
// text id; the owner polls `getTouchedId` in the frame of a release.
// Buttons are frame 2 of the decoration set (sprite set 3077, animation
// set 3072), pressed with its animation 4.
//
// Touch: the answers are the touch boxes, inside the frame rectangle, or
// the whole screen when the frame has no box of kind 2 (or no width). The
// upper and lower parts of the text (each as high as half the text area's
// width) act as the UP and DOWN keys; the board removes them again when it
// is disposed or cleared, with the arrow regions. Canvas thread only.
class MsgBoard : public Addon {
  VM_CLASS(MsgBoard, Addon)

 public:
  static constexpr int32_t kButtonFrame = 2;
  static constexpr int32_t kPressAnimation = 4;
  static constexpr int32_t kFirstAnswerKind = 3;
  static constexpr int32_t kAnswerAnchor = 17;

  VMPtr<MsgBoard> _VM_init();

  void dispose() override;
  void tick() override;
  // The box's paint, then the answer buttons.
  void paint(VMPtr<Graphics> g) override;
  void clear() override;
  // The box's centred frame, then the decoration set and the button size.
  void setCentredFrame(int32_t frameIndex) override;
  void setFrame(int32_t frameIndex, int32_t x, int32_t y, int32_t w, int32_t h) override {
    Addon::setFrame(frameIndex, x, y, w, h);
  }
  void layout() override;
  // Answer i: the frame's first box of kind 3 + i at the frame's place.
  VMPtr<Rects> getItemRects() override;

  void _VM_markReferences(int colour) override;

  VMField<tq::AnimPlayer> pressAnim;

 private:
  void acquireDecor();
  void paintAnswers(VMPtr<Graphics> g);
  // The up and down regions over the text, as layout registers them.
  VMPtr<Ints> textRegion(bool lower);
  void removeTextRegions();
};

}  // namespace ui
