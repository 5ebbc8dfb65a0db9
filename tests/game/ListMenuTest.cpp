// The list menu: rows, gap and offsets from the bounds and the row frame,
// the touch boxes and arrow regions it registers, taps, the press
// animation, disabled rows, and what dispose gives back.

#include <gtest/gtest.h>

#include <vector>

#include "UiEnv.h"
#include "tq_input_PointerInputKeyManager.h"
#include "ui_ListMenu.h"
#include "ui_ResManager.h"

using gametest::kRowHeight;
using gametest::kRowWidth;
using gametest::RecordingGraphics;
using gametest::UiEnv;
using tq::input::PointerInputKeyManager;
using ui::ListMenu;
using ui::Pointer;

namespace {

// A list in (20, 40, 200, 200) with ids 11, 12, ...
VMPtr<ListMenu> makeList(int32_t entries, std::vector<int32_t> ids = {}) {
  VMPtr<ListMenu> list = ListMenu::_VM_new();
  list->_VM_init();
  list->setActive(1);
  list->setBounds(20, 40, 200, 200);
  list->setIdCount(entries);
  for (int32_t i = 0; i < entries; ++i) {
    list->ids->at(i) = i < static_cast<int32_t>(ids.size()) ? ids[i] : 11 + i;
  }
  list->layout();
  return list;
}

std::vector<int32_t> rowTops(const VMPtr<ListMenu>& list) {
  std::vector<int32_t> out;
  VMPtr<VMArray<int32_t, 2>> rects = list->getItemRects();
  for (int32_t i = 0; i < rects->length; ++i) out.push_back(rects->get(i)->at(1));
  return out;
}

TEST(ListMenu, RowsShareTheFreeHeight) {
  struct Case {
    int32_t entries;
    int32_t rows, gap;
    std::vector<int32_t> tops;
    int32_t minOffsetY;
  };
  const std::vector<Case> cases = {
      {3, 3, 20, {60, 120, 180}, 0},
      {7, 5, 0, {40, 80, 120, 160, 200}, -80},
      {1, 1, 80, {120}, 0},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.entries);
    UiEnv e;
    VMPtr<ListMenu> list = makeList(k.entries);
    EXPECT_TRUE(list->isListMode());
    EXPECT_EQ(list->visibleRows, k.rows);
    EXPECT_EQ(list->rowGap, k.gap);
    EXPECT_EQ(list->cellOffsetX, (200 - kRowWidth) / 2);
    EXPECT_EQ(rowTops(list), k.tops);
    EXPECT_EQ(Pointer::offsetMinY, k.minOffsetY);
    ASSERT_EQ(Pointer::boxes->length, k.rows);
    EXPECT_EQ(Pointer::boxes->get(0)->y, k.tops[0]);
    EXPECT_EQ(Pointer::boxes->get(0)->x, 20 + (200 - kRowWidth) / 2);
    EXPECT_EQ(Pointer::boxes->get(0)->height, kRowHeight);
    EXPECT_EQ(Pointer::boxArea->height, 200);
  }
}

TEST(ListMenu, AnIdArrayShorterThanTheRowsThatFitSetsTheRows) {
  UiEnv e;
  VMPtr<ListMenu> list = ListMenu::_VM_new();
  list->_VM_init();
  list->setBounds(20, 40, 200, 200);
  list->setIdCount(4);
  list->setIds(VMArray<int32_t>::create(2));
  list->layout();
  EXPECT_EQ(list->visibleRows, 2);
}

TEST(ListMenu, ATapAnswersTheRowsIdAndADisabledRowNothing) {
  UiEnv e;
  VMPtr<ListMenu> list = makeList(3, {11, 0, 13});
  const int32_t x = 120;
  e.press(x, 60 + 5);
  list->pollInput();
  EXPECT_EQ(list->selectedRow, 0);
  EXPECT_EQ(list->getSelectedId(), 11);
  EXPECT_EQ(list->getTouchedId(), -1);
  e.release(x, 180 + 5);
  list->pollInput();
  EXPECT_EQ(list->selectedRow, -1);
  EXPECT_EQ(list->getTouchedId(), 13);
  EXPECT_EQ(list->getTouchedIndex(), 2);
  e.tap(x, 120 + 5);
  list->pollInput();
  EXPECT_EQ(list->touchedRow, 1);
  EXPECT_EQ(list->getTouchedId(), -1);
  e.tap(x, 50);  // in the gap above the first row
  list->pollInput();
  EXPECT_EQ(list->getTouchedId(), -1);
}

TEST(ListMenu, ThePressAnimationShowsOnlyWhileDownOnTheSelectedRow) {
  UiEnv e;
  VMPtr<ListMenu> list = makeList(3);
  const int32_t x = 20 + (200 - kRowWidth) / 2;
  auto markAt = [&](int32_t top) {
    VMPtr<RecordingGraphics> g = e.graphics();
    list->paint(g);
    return g->shows(x + 1, top + 1, gametest::kMarkColour);
  };
  EXPECT_FALSE(markAt(60));  // pointer up, selected row 0
  e.press(x + 5, 120 + 5);
  list->pollInput();
  EXPECT_TRUE(markAt(120));
  EXPECT_FALSE(markAt(60));
  e.release(x + 5, 120 + 5);
  list->pollInput();
  EXPECT_FALSE(markAt(120));
}

TEST(ListMenu, ADisabledRowTurnsLaterRowsToTheBoardFrame) {
  UiEnv e;
  VMPtr<ListMenu> list = makeList(3, {11, 0, 13});
  EXPECT_EQ(list->decorFrame->getIndex(), ListMenu::kRowFrame);
  VMPtr<RecordingGraphics> g = e.graphics();
  list->paint(g);
  EXPECT_EQ(list->decorFrame->getIndex(), ListMenu::kBoardRowFrame);
  list->paint(g);
  EXPECT_EQ(list->decorFrame->getIndex(), ListMenu::kBoardRowFrame);
}

TEST(ListMenu, ARowFrameOfHeightZeroGivesNoRows) {
  UiEnv e;
  VMPtr<ListMenu> list = makeList(3);
  // The decoration set's empty frame as the row frame: laid out again.
  list->decorFrame = list->decorFrame->getAnimSet()->getFrame(5);
  list->layout();
  EXPECT_EQ(list->cellHeight, 0);
  EXPECT_EQ(list->visibleRows, 0);
  EXPECT_EQ(list->rowGap, 200);
  EXPECT_EQ(Pointer::boxes->length, 0);
  VMPtr<RecordingGraphics> g = e.graphics();
  list->paint(g);
}

TEST(ListMenu, DisposeRemovesTheArrowRegionsAndReleasesTheDecoration) {
  UiEnv e;
  VMPtr<ListMenu> list = makeList(3);
  EXPECT_EQ(PointerInputKeyManager::getRegionCount(0), 4);
  VMPtr<VMArray<int32_t>> up = list->getUpArrowBox();
  EXPECT_EQ(up->at(0), 20 + 200 + gametest::kArrowBoxes[0][0]);
  EXPECT_EQ(up->at(1), 40 + 20 + gametest::kArrowBoxes[0][1]);
  const int32_t slot = list->decorGobIndex;
  EXPECT_EQ(ui::ResManager::gobRefCounts->at(slot), 1);
  list->dispose();
  EXPECT_EQ(PointerInputKeyManager::getRegionCount(0), 0);
  EXPECT_EQ(ui::ResManager::gobRefCounts->at(slot), 0);
  EXPECT_EQ(list->decorGobIndex, -1);
  EXPECT_FALSE(list->decorFrame);
  // clear forgets without releasing.
  VMPtr<ListMenu> other = makeList(3);
  const int32_t kept = other->decorAnimSetIndex;
  other->clear();
  EXPECT_EQ(ui::ResManager::animSetRefCounts->at(kept), 1);
  EXPECT_EQ(other->decorAnimSetIndex, -1);
  EXPECT_EQ(PointerInputKeyManager::getRegionCount(0), 0);
}

}  // namespace
