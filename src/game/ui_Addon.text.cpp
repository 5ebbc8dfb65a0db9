// The box's wrapped text, its scrolling and the paint.
#include "main_Main.h"
#include "ui_Addon.h"

namespace ui {

using main::Main;
using tq::util::text::RichFont;
using tq::util::text::WrappedText;

namespace {

VMPtr<RichFont> sharedFont() {
  Main::_VM_clinitCheck();
  return VMPtr<RichFont>(Main::font);
}

void selectFont(int32_t slot) { VMPtr<Main>(Main::instance)->selectFont(slot); }

}  // namespace

void Addon::setText(VMPtr<String> s, int32_t x, int32_t y, int32_t w, int32_t h) {
  textWidth = w;
  textHeight = h;
  textX = x;
  textY = y;
  setText(s);
}

// A pitch of 0 (a font without height) shows no line rather than
// dividing by it.
void Addon::setText(VMPtr<String> s) {
  textOriginX = textX;
  dragY = textY;
  scrollLine = 0;
  selectFont(textFont);
  VMPtr<WrappedText> wrapped = WrappedText::_VM_new();
  wrapped->_VM_init(VMPtr<tq::TqCanvas>(canvas));
  wrapped->setText(sharedFont(), s, textWidth);
  text = wrapped;
  lineCount = wrapped->getLineCount();
  const int32_t pitch = wrapped->getLineHeight();
  const int32_t fit = pitch == 0 ? 0 : textHeight / pitch;
  visibleLines = lineCount < fit ? lineCount : fit;
  const int32_t limit = lineCount > visibleLines ? -((lineCount - visibleLines) * (rowGap + pitch)) : 0;
  VMPtr<Pointer> touch = pointer;
  touch->resetX();
  touch->resetY();
  touch->setOffsetY(0);
  touch->setOffsetBounds(0, dragY, 0, limit);
}

int32_t Addon::getLinePitch() {
  VMPtr<WrappedText> wrapped = text;
  return wrapped ? wrapped->getLineHeight() : 0;
}

void Addon::scrollTextDown() {
  if (active && scrollLine + visibleLines + 1 <= lineCount) ++scrollLine;
}

void Addon::scrollTextUp() {
  if (active && scrollLine > 0) --scrollLine;
}

void Addon::resetClip(VMPtr<Graphics> g) { VMPtr<tq::TqCanvas>(canvas)->resetClip(g); }

// --- Paint -----------------------------------------------------------------

void Addon::paint(VMPtr<Graphics> g) {
  g->setColor(kTextColour);
  if (framed) {
    paintFrame(g);
  } else if (!text) {
    paintItems(g);
    return;
  }
  setClip(g, textX, textY, textWidth, textHeight);
  g->setColor(kTextColour);
  paintText(g);
  resetClip(g);
  if (scrollable && lineCount > visibleLines) paintScrollBar(g);
  paintItems(g);
}

void Addon::paintFrame(VMPtr<Graphics> g) {
  VMPtr<tq::Frame> f = frame;
  if (f) {
    f->paint(g, frameX, frameY, 0);
    return;
  }
  g->setColor(kTextColour);
  g->fillRect(frameX, frameY, frameWidth, frameHeight);
  g->setColor(kOutlineColour);
  g->drawRect(frameX, frameY, frameWidth, frameHeight);
}

// The outline is lineCount steps high, which can fall short of the text
// area; the handle is visibleLines steps, scrollLine steps down.
void Addon::paintScrollBar(VMPtr<Graphics> g) {
  const int32_t step = textHeight / lineCount;
  g->setColor(kTextColour);
  g->drawRect(textX + textWidth, textY, kScrollBarWidth, lineCount * step);
  g->fillRect(textX + textWidth, textY + step * scrollLine, kScrollBarWidth, step * visibleLines);
}

// Scrolling moves the text by the font height per line.
void Addon::paintText(VMPtr<Graphics> g) {
  selectFont(textFont);
  VMPtr<WrappedText> wrapped = text;
  if (!wrapped) return;
  const int32_t y = scrollable ? textY - sharedFont()->getHeight() * scrollLine : textY;
  wrapped->draw(g, textX, y, Graphics::LEFT);
}

// An item without a text (a count set past the items added) is skipped.
void Addon::paintItems(VMPtr<Graphics> g) {
  for (int32_t i = 0; i < itemCount; ++i) {
    VMPtr<String> s = VMPtr<VMArray<String>>(itemTexts)->get(i);
    if (!s) continue;
    selectFont(VMPtr<Ints>(itemFonts)->at(i));
    VMPtr<RichFont> font = sharedFont();
    g->setColor(kTextColour);
    VMPtr<Ints> position = VMPtr<Rects>(itemPositions)->get(i);
    const int32_t width = VMPtr<Ints>(itemWidths)->at(i);
    const int32_t height = VMPtr<Ints>(itemHeights)->at(i);
    const int32_t x = width >= 1 ? position->at(0) + (width - font->stringWidth(s)) / 2 : position->at(0);
    const int32_t y = height >= 1 ? position->at(1) + (height - font->getHeight()) / 2 : position->at(1);
    font->drawString(g, s, x, y, kTopLeft);
  }
}

}  // namespace ui
