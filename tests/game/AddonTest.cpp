// The UI box: items, wrapped text and its scrolling, the scroll bar, list
// moves over disabled entries, frames, id queries, and bad indices, as one
// table of cases over fresh boxes.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "UiEnv.h"
#include "java_lang_String.h"
#include "ui_Addon.h"

using gametest::RecordingGraphics;
using gametest::str;
using gametest::UiEnv;
using java::lang::String;
using ui::Addon;

namespace {

using Log = std::vector<std::string>;

VMPtr<Addon> makeBox() {
  VMPtr<Addon> box = Addon::_VM_new();
  box->_VM_init();
  box->setActive(1);
  return box;
}

// n one-character lines.
VMPtr<String> lines(int n) {
  std::u16string s;
  for (int i = 0; i < n; ++i) s += i == 0 ? u"a" : u"\na";
  return gametest::str(s);
}

void setIds(const VMPtr<Addon>& box, std::vector<int32_t> ids) {
  box->setIdCount(static_cast<int32_t>(ids.size()));
  for (size_t i = 0; i < ids.size(); ++i) box->ids->at(static_cast<int32_t>(i)) = ids[i];
}

// What the font draws for `s` at (x, y), as the recording logs it.
Log fontDraws(const VMPtr<String>& s, int32_t x, int32_t y) {
  VMPtr<RecordingGraphics> g = RecordingGraphics::make();
  main::Main::instance->selectFont(0);
  VMPtr<tq::util::text::RichFont>(main::Main::font)->drawString(g, s, x, y, Addon::kTopLeft);
  return g->take("image");
}

struct Case {
  const char* name;
  std::function<void(UiEnv&, const VMPtr<Addon>&)> run;
};

const std::vector<Case> kCases = {
    {"a fresh box has full bounds, no touched row and paints nothing",
     [](UiEnv& e, const VMPtr<Addon>& box) {
       EXPECT_EQ(box->boxWidth, 240);
       EXPECT_EQ(box->boxHeight, 320);
       EXPECT_EQ(box->touchedRow, -1);
       EXPECT_EQ(box->getTouchedId(), -1);
       EXPECT_EQ(box->getLinePitch(), 0);
       VMPtr<RecordingGraphics> g = e.graphics();
       box->paint(g);
       EXPECT_EQ(g->take(), Log());
     }},
    {"a fifth item on capacity 4 is dropped",
     [](UiEnv&, const VMPtr<Addon>& box) {
       box->setItemCapacity(4);
       for (int32_t i = 0; i < 5; ++i) box->addItem(10 + i, i, i);
       EXPECT_EQ(box->itemCount, 4);
       EXPECT_EQ(gametest::text(box->itemTexts->get(3)), u"t0.13");
       EXPECT_EQ(box->itemPositions->get(3)->at(0), 3);
     }},
    {"ten lines with four visible scroll to line 6 and back to 0",
     [](UiEnv&, const VMPtr<Addon>& box) {
       box->setText(lines(10), 10, 20, 100, 4 * 8 + 7);
       EXPECT_EQ(box->lineCount, 10);
       EXPECT_EQ(box->visibleLines, 4);
       EXPECT_EQ(box->getLinePitch(), 8);
       EXPECT_EQ(ui::Pointer::offsetMaxY, 20);
       EXPECT_EQ(ui::Pointer::offsetMinY, -(6 * 8));
       for (int i = 0; i < 10; ++i) box->scrollTextDown();
       EXPECT_EQ(box->scrollLine, 6);
       for (int i = 0; i < 10; ++i) box->scrollTextUp();
       EXPECT_EQ(box->scrollLine, 0);
       box->setActive(0);
       box->scrollTextDown();
       EXPECT_EQ(box->scrollLine, 0);
     }},
    {"text that fits shows every line and no scroll bar",
     [](UiEnv& e, const VMPtr<Addon>& box) {
       box->setScrollable(1);
       box->setText(lines(3), 10, 20, 100, 50);
       EXPECT_EQ(box->visibleLines, 3);
       EXPECT_EQ(ui::Pointer::offsetMinY, 0);
       VMPtr<RecordingGraphics> g = e.graphics();
       box->paint(g);
       EXPECT_EQ(g->take("rect"), Log());
     }},
    {"the scroll bar of 3 lines in 50 pixels is 48 high",
     [](UiEnv& e, const VMPtr<Addon>& box) {
       e.useGlyphs(gametest::kTallFont);
       box->setScrollable(1);
       box->setText(lines(3), 10, 20, 100, 50);
       EXPECT_EQ(box->visibleLines, 2);
       box->scrollTextDown();
       VMPtr<RecordingGraphics> g = e.graphics();
       box->paint(g);
       EXPECT_EQ(g->take("rect"), Log({"rect 110 20 5 48 #82451a"}));
       g->take();
       box->paint(g);
       EXPECT_EQ(g->take("fill"), Log({"fill 110 36 5 32 #82451a"}));
     }},
    {"a list of 7 with 4 visible wraps 3 to 0 and 0 to 3",
     [](UiEnv&, const VMPtr<Addon>& box) {
       setIds(box, {1, 2, 3, 4, 5, 6, 7});
       box->visibleRows = 4;
       box->firstRow = 3;
       box->listDown();
       EXPECT_EQ(box->firstRow, 0);
       box->listUp();
       EXPECT_EQ(box->firstRow, 3);
       box->listUp();
       EXPECT_EQ(box->firstRow, 2);
     }},
    {"list moves skip disabled entries and stay put when all are",
     [](UiEnv&, const VMPtr<Addon>& box) {
       setIds(box, {5, 0, 0, 7});
       box->visibleRows = 1;
       box->listDown();
       EXPECT_EQ(box->firstRow, 3);
       box->listUp();
       EXPECT_EQ(box->firstRow, 0);
       box->selectedRow = -1;  // no row held: the top row counts
       box->listDown();
       EXPECT_EQ(box->firstRow, 3);
       setIds(box, {0, 0, 0});
       box->firstRow = 1;
       box->listDown();
       EXPECT_EQ(box->firstRow, 1);
       box->listUp();
       EXPECT_EQ(box->firstRow, 1);
     }},
    {"keys move a list, scroll framed text, and need the box active",
     [](UiEnv&, const VMPtr<Addon>& box) {
       box->setText(lines(10), 10, 20, 100, 16);
       box->keyDown();
       EXPECT_EQ(box->scrollLine, 1);
       box->tickerOffset = 9;
       setIds(box, {1, 2, 3});
       box->setListMode(1);
       box->keyDown();
       EXPECT_EQ(box->firstRow, 1);
       EXPECT_EQ(box->scrollLine, 1);
       EXPECT_EQ(box->tickerOffset, 0);
       box->setActive(0);
       box->keyUp();
       EXPECT_EQ(box->firstRow, 1);
     }},
    {"an item is centred by its width and by its height",
     [](UiEnv& e, const VMPtr<Addon>& box) {
       box->setItemCapacity(2);
       box->addItem(str(u"ab"), 10, 20, 100);
       VMPtr<RecordingGraphics> g = e.graphics();
       box->paint(g);
       const int32_t w = main::Main::font->stringWidth(str(u"ab"));
       EXPECT_EQ(g->take("image"), fontDraws(str(u"ab"), 10 + (100 - w) / 2, 20));
       box->setItem(0, str(u"ab"), 10, 20, 0, 20);
       box->paint(g);
       EXPECT_EQ(g->take("image"), fontDraws(str(u"ab"), 10, 20 + (20 - 8) / 2));
     }},
    {"the centred frame places the items of capacity 1 and 2, not 3",
     [](UiEnv&, const VMPtr<Addon>& box) {
       for (int32_t capacity = 1; capacity <= 3; ++capacity) {
         SCOPED_TRACE(capacity);
         VMPtr<Addon> b = makeBox();
         b->setItemCapacity(capacity);
         for (int32_t i = 0; i < capacity; ++i) b->addItem(str(u"x"), 1, 2);
         b->setCentredFrame(3);
         const std::vector<int32_t> title = {120 + gametest::kTitleBox[0], 160 + gametest::kTitleBox[1],
                                             gametest::kTitleBox[2], gametest::kTitleBox[3]};
         const std::vector<int32_t> text = {120 + gametest::kTextBox[0], 160 + gametest::kTextBox[1],
                                            gametest::kTextBox[2], gametest::kTextBox[3]};
         auto item = [&](int32_t i) {
           return std::vector<int32_t>{b->itemPositions->get(i)->at(0), b->itemPositions->get(i)->at(1),
                                       b->itemWidths->at(i), b->itemHeights->at(i)};
         };
         EXPECT_EQ(item(0), capacity == 3 ? std::vector<int32_t>({1, 2, 0, 0}) : title);
         if (capacity == 2) {
           EXPECT_EQ(item(1), text);
         }
         EXPECT_EQ(std::vector<int32_t>({b->textX, b->textY, b->textWidth, b->textHeight}), text);
         EXPECT_EQ(std::vector<int32_t>({b->boxX, b->boxY, b->boxWidth, b->boxHeight}), text);
         EXPECT_EQ(b->frameX, 120);
         EXPECT_EQ(b->getFrameWidth(), 40);
         b->dispose();
       }
       box->dispose();
     }},
    {"a framed box whose frame is gone draws the plain rectangle",
     [](UiEnv& e, const VMPtr<Addon>& box) {
       box->setCentredFrame(3);
       box->clear();
       EXPECT_FALSE(box->frame);
       EXPECT_TRUE(box->isFramed());
       VMPtr<RecordingGraphics> g = e.graphics();
       box->paint(g);
       EXPECT_EQ(g->take("fill"), Log({"fill 120 160 40 20 #82451a"}));
       box->paint(g);
       EXPECT_EQ(g->take("rect"), Log({"rect 120 160 40 20 #e3ca83"}));
     }},
    {"id queries answer -1 for a disabled entry and outside the ids",
     [](UiEnv&, const VMPtr<Addon>& box) {
       EXPECT_EQ(box->getSelectedId(), -1);  // no ids
       setIds(box, {5, 0});
       box->touchedRow = 0;
       EXPECT_EQ(box->getTouchedId(), 5);
       EXPECT_EQ(box->getTouchedIndex(), 0);
       box->touchedRow = 1;
       EXPECT_EQ(box->getTouchedId(), -1);
       EXPECT_EQ(box->getTouchedIndex(), -1);
       box->firstRow = 1;
       box->touchedRow = 1;
       EXPECT_EQ(box->getTouchedId(), -1);
       box->setSelectedRow(5);
       EXPECT_EQ(box->selectedRow, 0);
       box->setSelectedRow(1);
       EXPECT_EQ(box->getSelectedId(), 0);
     }},
    {"a line pitch of 0 shows no line",
     [](UiEnv& e, const VMPtr<Addon>& box) {
       e.useGlyphs(gametest::kZeroHeightFont);
       box->setText(lines(4), 10, 20, 100, 50);
       EXPECT_EQ(box->getLinePitch(), 0);
       EXPECT_EQ(box->lineCount, 4);
       EXPECT_EQ(box->visibleLines, 0);
       EXPECT_EQ(ui::Pointer::offsetMinY, 0);
       box->scrollTextDown();
       EXPECT_EQ(box->scrollLine, 1);
     }},
    {"the ticker runs a selected text wider than the screen and restarts at 240",
     [](UiEnv&, const VMPtr<Addon>& box) {
       setIds(box, {gametest::kLongText, 13});
       box->setBounds(10, 0, 200, 100);
       box->tickerStep();
       EXPECT_EQ(box->tickerOffset, 0);  // not scrollable
       box->setScrollable(1);
       box->tickerStep();
       EXPECT_EQ(box->tickerOffset, -2);
       box->tickerOffset = -(60 * 5 + 10) + 2;
       box->tickerStep();
       EXPECT_EQ(box->tickerOffset, 240);
       box->setSelectedRow(1);  // a text that fits
       box->tickerStep();
       EXPECT_EQ(box->tickerOffset, 0);
     }},
    {"negative and too large item indices are ignored",
     [](UiEnv&, const VMPtr<Addon>& box) {
       box->setItemCapacity(1);
       for (int32_t i : {-1, 1, 7}) {
         box->setItemText(i, str(u"x"));
         box->setItemFont(i, 1);
         box->setItem(i, str(u"x"), 1, 2, 3, 4);
       }
       box->setItemCount(2);
       box->setItemCount(-1);
       EXPECT_EQ(box->itemCount, 0);
       EXPECT_FALSE(box->itemTexts->get(0));
       EXPECT_EQ(box->itemFonts->at(0), 0);
     }},
};

TEST(Addon, Cases) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    UiEnv e;
    VMPtr<Addon> box = makeBox();
    c.run(e, box);
  }
}

}  // namespace
