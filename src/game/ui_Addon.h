#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"
#include "java_lang_String.h"
#include "tq_AnimPlayer.h"
#include "tq_Frame.h"
#include "tq_Gob.h"
#include "tq_util_text_WrappedText.h"
#include "ui_MyObject.h"
#include "ui_Pointer.h"

namespace ui {

// The game's general UI box: a rectangle of the 240 x 320 screen with a
// block of wrapped text, positioned text items, an optional scroll bar and
// either a frame image from the resource cache or a plain rectangle. List
// menus and message boards derive from it and add rows or answers.
//
// Three rectangles: the bounds (where list rows and arrow boxes go), the
// text area (where the wrapped text is clipped and drawn) and the frame
// rectangle (where the frame or the plain rectangle is drawn). Items are
// parallel arrays of `itemCapacity` entries filled in order; `itemCount`
// is the next free one. A choice is polled, never called back: in the
// frame of a release the owner asks `getTouchedId` / `getTouchedIndex`;
// entries of id 0 are disabled and never answer.
//
// Cached sets: the frame's (`frameGobIndex`, `frameAnimSetIndex`) and the
// decoration's (`decorGobIndex`, `decorAnimSetIndex`), slots of the
// resource cache; `dispose` releases both, `clear` forgets them.
//
// The box never throws of its own: writes at an index outside the item
// arrays are ignored, id queries answer -1 where there is no entry. Moving
// the list skips disabled entries at most once round the list and stays
// put when every entry is disabled. Canvas thread only.
class Addon : public MyObject {
  VM_CLASS(Addon, MyObject)

 public:
  using String = java::lang::String;
  using Ints = VMArray<int32_t>;
  using Rects = VMArray<int32_t, 2>;
  static constexpr int32_t kTextColour = 0x82451A;
  static constexpr int32_t kOutlineColour = 0xE3CA83;
  static constexpr int32_t kTopLeft = 20;
  static constexpr int32_t kScrollBarWidth = 5;
  // The centred frame's sets and where its origin is drawn.
  static constexpr int32_t kFrameGobs = 3081;
  static constexpr int32_t kFrameAnimSet = 3076;
  static constexpr int32_t kCentreX = 120;
  static constexpr int32_t kCentreY = 160;
  // The decoration set of lists and boards.
  static constexpr int32_t kDecorGobs = 3077;
  static constexpr int32_t kDecorAnimSet = 3072;

  // Bounds (0, 0, 240, 320), no row touched, a fresh touch state.
  VMPtr<Addon> _VM_init();

  // --- The object's life -------------------------------------------------
  // Removes the arrow regions and releases the frame and decoration sets.
  void dispose() override;
  void pollInput() override { pollTouch(0, 0); }
  void tick() override {}
  // Frame or plain rectangle, text with its scroll bar, then the items.
  void paint(VMPtr<Graphics> g) override;
  // As dispose, without releasing the cached sets.
  void clear() override;

  // --- Items, text and frame ---------------------------------------------
  virtual void setItemCapacity(int32_t n);
  virtual void paintText(VMPtr<Graphics> g);
  virtual void scrollTextDown();
  virtual int32_t getFrameWidth() { return frameWidth; }
  virtual void setText(VMPtr<String> s, int32_t x, int32_t y, int32_t w, int32_t h);
  // Wraps s into the text area's width with the font of `textFont`.
  virtual void setText(VMPtr<String> s);
  // The frame of the cached animation set that the caller has just
  // acquired, centred in (x, y, w, h); the text area is its box of kind 0.
  virtual void setFrame(int32_t frameIndex, int32_t x, int32_t y, int32_t w, int32_t h);
  // The frame of the box frame set with its origin at (120, 160); the text
  // area is its box of kind 1, items 0 and 1 take its boxes 0 and 1.
  virtual void setCentredFrame(int32_t frameIndex);
  virtual void listUp();
  virtual void addItem(VMPtr<String> s, int32_t x, int32_t y);
  virtual void addItem(int32_t textId, int32_t x, int32_t y);
  virtual void addItem(VMPtr<String> s, int32_t x, int32_t y, int32_t width);
  virtual void addItem(int32_t textId, int32_t x, int32_t y, int32_t width);
  virtual void addItem(VMPtr<String> s, int32_t x, int32_t y, int32_t width, int32_t height);
  virtual void addItem(int32_t textId, int32_t x, int32_t y, int32_t width, int32_t height);
  virtual void setItem(int32_t index, VMPtr<String> s, int32_t x, int32_t y, int32_t width, int32_t height);
  virtual void setItem(int32_t index, VMPtr<String> s, int32_t x, int32_t y);
  virtual void setItem(int32_t index, VMPtr<String> s, int32_t x, int32_t y, int32_t width);
  virtual void setItemText(int32_t index, VMPtr<String> s);
  virtual void setBoardMode(uint8_t on) { boardMode = on; }
  virtual void keyDown();
  virtual int32_t getSelectedId();
  virtual void layout() {}
  virtual void tickerStep();
  virtual VMPtr<Ints> getUpArrowBox() { return arrowBox(1); }
  virtual int32_t getTouchedId();
  virtual void scrollTextUp();
  virtual void setItemFont(int32_t index, int32_t font);
  virtual void resetClip(VMPtr<Graphics> g);
  virtual VMPtr<Ints> getLeftArrowBox() { return arrowBox(3); }
  virtual void setClip(VMPtr<Graphics> g, int32_t x, int32_t y, int32_t w, int32_t h) { g->setClip(x, y, w, h); }
  // One box of kind 5 of the decoration frame per visible row.
  virtual VMPtr<Rects> getItemRects();
  virtual VMPtr<Ints> getRightArrowBox() { return arrowBox(4); }
  virtual void listDown();
  virtual int32_t getFirstRow() { return firstRow; }
  virtual void pollTouch(int32_t, int32_t);
  virtual void setIdCount(int32_t n);
  virtual int32_t getFrameX() { return frameX; }
  virtual int32_t getTextOriginX() { return textOriginX; }
  virtual void setListMode(uint8_t on) { listMode = on; }
  virtual int32_t getTouchedIndex();
  virtual int32_t getLinePitch();
  virtual void setCellSize(int32_t w, int32_t h);
  virtual int32_t getFrameHeight() { return frameHeight; }
  virtual void useTextAreaAsBounds() { setBounds(textX, textY, textWidth, textHeight); }
  virtual VMPtr<Ints> getDownArrowBox() { return arrowBox(2); }
  virtual void setDecorPart(VMPtr<tq::Gob> g, int32_t index);
  virtual void setIds(VMPtr<Ints> a) { ids = a; }
  virtual VMPtr<Ints> getTextRect();
  virtual void setBounds(int32_t x, int32_t y, int32_t w, int32_t h);
  virtual void setItemCount(int32_t n);
  virtual void setUserFlag(uint8_t on) { userFlag = on; }
  virtual int32_t getDragY() { return dragY; }
  virtual void setSelectedRow(int32_t i);
  virtual int32_t getFrameY() { return frameY; }
  virtual uint8_t getUserFlag() { return userFlag; }
  virtual void updateDrag();
  virtual uint8_t isFramed() { return framed; }
  virtual void setScrollable(uint8_t on) { scrollable = on; }
  virtual void updateTouchedRow();
  virtual uint8_t isBoardMode() { return boardMode; }
  virtual void updateSelection();
  virtual void setTextFont(int32_t font) { textFont = font; }
  virtual void keyUp();
  virtual uint8_t isListMode() { return listMode; }
  virtual void setFramed(uint8_t on) { framed = on; }

  void _VM_markReferences(int colour) override;

  // --- State, in the box's declaration order -------------------------------
  int32_t textWidth;
  int32_t dragY;
  int32_t cellHeight;
  int32_t idCount;
  int32_t visibleRows;
  int32_t textOriginX;
  int32_t boxHeight;
  int32_t cellOffsetX;
  int32_t rowGap;
  int32_t touchedRow;
  uint8_t scrollable;
  int32_t boxY;
  int32_t boxX;
  int32_t textHeight;
  uint8_t listMode;
  int32_t frameHeight;
  int32_t textX;
  uint8_t boardMode;
  int32_t textY;
  int32_t frameWidth;
  int32_t decorAnimSetIndex;
  int32_t selectedRow;
  VMField<Pointer> pointer;
  int32_t firstRow;
  int32_t frameX;
  int32_t boxWidth;
  VMField<tq::Frame> decorFrame;
  VMField<Ints> ids;
  int32_t frameY;
  int32_t textFont;
  VMField<tq::Frame> frame;
  uint8_t framed;
  int32_t decorGobIndex;
  int32_t cellWidth;
  int32_t decorResourceId;
  VMField<tq::util::text::WrappedText> text;
  int32_t tickerOffset;
  VMField<Ints> itemFonts;
  int32_t lineCount;
  VMField<Ints> itemHeights;
  int32_t frameAnimSetIndex;
  int32_t itemCapacity;
  int32_t visibleLines;
  uint8_t userFlag;
  int32_t frameGobIndex;
  VMField<Rects> itemPositions;
  VMField<VMArray<String>> itemTexts;
  int32_t itemCount;
  VMField<Ints> itemWidths;
  int32_t scrollLine;
  // The one int[5] that setFrame and setCentredFrame read boxes into: a
  // box the frame lacks leaves the previous query's values.
  VMField<Ints> frameBox;

 protected:
  // The first box of `kind` of `f` into a fresh int[5] (zeros when the
  // frame has none or there is no frame).
  static VMPtr<Ints> boxOf(const VMPtr<tq::Frame>& f, int32_t kind);
  // Frame `index` of the animation set in cache slot `slot`.
  static VMPtr<tq::Frame> cachedFrame(int32_t slot, int32_t index);
  // The current translation's text of `id`.
  static VMPtr<String> textOf(int32_t id);
  bool hasIndex(const VMPtr<Ints>& a, int32_t i) const { return a && i >= 0 && i < a->length; }
  // Acquires the decoration set once (`decorResourceId` remembers it, also
  // after dispose): `decorFrame` becomes its frame `frameIndex` and the
  // result is a new press player of `animation`; null when already done.
  VMPtr<tq::AnimPlayer> acquireDecoration(int32_t animation, int32_t frameIndex);
  // The press player advanced by the current scene's last gap.
  static void advance(const VMPtr<tq::AnimPlayer>& press);
  // The press player at (x, y) while pointer 0 is down on `row`.
  void paintPress(VMPtr<Graphics> g, const VMPtr<tq::AnimPlayer>& press, int32_t row, int32_t x, int32_t y);
  // The cell size of the decoration frame (kept without one).
  void takeDecorCellSize();
  // Drops the arrow regions and forgets both cached sets, releasing them
  // when `release` is set.
  void dropResources(bool release);
  // The decoration frame's box of `kind` moved right of the bounds.
  VMPtr<Ints> arrowBox(int32_t kind);

 private:
  bool hasItem(int32_t index) const { return index >= 0 && index < itemCapacity; }
  void paintFrame(VMPtr<Graphics> g);
  void paintScrollBar(VMPtr<Graphics> g);
  void paintItems(VMPtr<Graphics> g);
  // Moves `firstRow` with `step` until the selected entry is enabled, at
  // most once round the list; back where it was when none is.
  void moveList(void (Addon::*step)());
  void key(void (Addon::*list)(), void (Addon::*scroll)());
  void stepUp();
  void stepDown();
  bool selectedEntryDisabled();
  // Text area and bounds from the frame box in `frameBox` at (x, y).
  void takeTextArea(int32_t x, int32_t y);
  void placeItem(int32_t index);
};

}  // namespace ui
