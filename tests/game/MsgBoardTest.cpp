// The message board: the centred frame and its items, the answer area,
// answers on the frame's boxes 3 + i, the text's up and down regions and
// what dispose removes, and the press animation.

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "UiEnv.h"
#include "tq_input_PointerInputKeyManager.h"
#include "tq_input_PointerInputKeyRegion.h"
#include "ui_MsgBoard.h"
#include "ui_ResManager.h"

using gametest::kAnswerBoxes;
using gametest::kTextBox;
using gametest::RecordingGraphics;
using gametest::UiEnv;
using tq::input::PointerInputKeyManager;
using tq::input::PointerInputKeyRegion;
using ui::MsgBoard;
using ui::Pointer;

namespace {

// A board of frame `frame` with a title, answers {38, 37} and laid out.
VMPtr<MsgBoard> makeBoard(int32_t frame) {
  VMPtr<MsgBoard> board = MsgBoard::_VM_new();
  board->_VM_init();
  board->setActive(1);
  board->setItemCapacity(1);
  board->addItem(9, 0, 0);
  board->setCentredFrame(frame);
  board->setIdCount(2);
  board->ids->at(0) = 38;
  board->ids->at(1) = 37;
  board->layout();
  return board;
}

std::array<int32_t, 2> answerCentre(int32_t i) {
  return {120 + kAnswerBoxes[i][0] + kAnswerBoxes[i][2] / 2, 160 + kAnswerBoxes[i][1] + kAnswerBoxes[i][3] / 2};
}

std::vector<std::array<int32_t, 5>> regions() {
  const int32_t n = PointerInputKeyManager::getRegionCount(0);
  VMPtr<VMArray<PointerInputKeyRegion>> found = VMArray<PointerInputKeyRegion>::create(n);
  PointerInputKeyManager::getRegions(found, 0);
  std::vector<std::array<int32_t, 5>> out;
  for (int32_t i = 0; i < n; ++i) {
    VMPtr<PointerInputKeyRegion> r = found->get(i);
    out.push_back({r->type, r->x, r->y, r->width, r->height});
  }
  return out;
}

TEST(MsgBoard, WithoutAKind2BoxTheAnswersCountOnTheWholeScreen) {
  UiEnv e;
  VMPtr<MsgBoard> board = makeBoard(3);
  EXPECT_TRUE(board->isBoardMode());
  EXPECT_EQ(Pointer::boxArea->x, 0);
  EXPECT_EQ(Pointer::boxArea->y, 0);
  EXPECT_EQ(Pointer::boxArea->width, 240);
  EXPECT_EQ(Pointer::boxArea->height, 320);
  ASSERT_EQ(Pointer::boxes->length, 2);
  EXPECT_EQ(Pointer::boxes->get(1)->x, 120 + kAnswerBoxes[1][0]);
  EXPECT_EQ(Pointer::boxes->get(1)->y, 160 + kAnswerBoxes[1][1]);
  // The title took the frame's box 0; the answer button is the cell.
  EXPECT_EQ(board->itemPositions->get(0)->at(1), 160 + gametest::kTitleBox[1]);
  EXPECT_EQ(board->cellWidth, 80);
  EXPECT_EQ(board->cellHeight, 30);
  // With a kind-2 box the answers count only inside the frame's rectangle
  // from the centre, where this board's answers are not.
  VMPtr<MsgBoard> boxed = makeBoard(5);
  EXPECT_EQ(Pointer::boxArea->x, 120);
  EXPECT_EQ(Pointer::boxArea->width, 40);
  const std::array<int32_t, 2> c = answerCentre(0);
  e.tap(c[0], c[1]);
  boxed->pollInput();
  EXPECT_EQ(boxed->getTouchedId(), -1);
}

TEST(MsgBoard, TheSecondAnswerLiesOnBox4AndAnswersItsId) {
  UiEnv e;
  VMPtr<MsgBoard> board = makeBoard(3);
  const std::array<int32_t, 2> c = answerCentre(1);
  e.press(c[0], c[1]);
  board->pollInput();
  EXPECT_EQ(board->selectedRow, 1);
  EXPECT_EQ(board->getTouchedId(), -1);
  e.release(c[0], c[1]);
  board->pollInput();
  EXPECT_EQ(board->getTouchedId(), 37);
  EXPECT_EQ(board->getTouchedIndex(), 1);
  const std::array<int32_t, 2> first = answerCentre(0);
  e.tap(first[0], first[1]);
  board->pollInput();
  EXPECT_EQ(board->getTouchedId(), 38);
}

TEST(MsgBoard, TheTextsUpAndDownRegionsAreHalfItsWidthHighAndGoWithTheBoard) {
  UiEnv e;
  VMPtr<MsgBoard> board = makeBoard(3);
  const int32_t x = 120 + kTextBox[0], y = 160 + kTextBox[1], w = kTextBox[2];
  ASSERT_EQ(w, 180);
  const std::vector<std::array<int32_t, 5>> want = {{1, x, y, w, 90}, {6, x, y + 90, w, 90}};
  EXPECT_EQ(regions(), want);
  const int32_t slots[2] = {board->frameGobIndex, board->decorGobIndex};
  board->dispose();
  EXPECT_EQ(regions(), (std::vector<std::array<int32_t, 5>>()));
  for (int32_t slot : slots) EXPECT_EQ(ui::ResManager::gobRefCounts->at(slot), 0);
  VMPtr<MsgBoard> other = makeBoard(3);
  other->clear();
  EXPECT_EQ(regions(), (std::vector<std::array<int32_t, 5>>()));
}

TEST(MsgBoard, ThePressAnimationShowsOnlyWhileDownOnTheAnswer) {
  UiEnv e;
  VMPtr<MsgBoard> board = makeBoard(3);
  const int32_t x = 120 + kAnswerBoxes[1][0], y = 160 + kAnswerBoxes[1][1];
  auto markAt = [&] {
    VMPtr<RecordingGraphics> g = e.graphics();
    board->paint(g);
    return g->shows(x + 1, y + 1, gametest::kMarkColour);
  };
  EXPECT_FALSE(markAt());
  const std::array<int32_t, 2> c = answerCentre(1);
  e.press(c[0], c[1]);
  board->pollInput();
  EXPECT_TRUE(markAt());
  const std::array<int32_t, 2> first = answerCentre(0);
  e.env.canvas->pointerDragged(first[0], first[1]);
  e.touchFrame();
  board->pollInput();
  EXPECT_FALSE(markAt());
  e.release(first[0], first[1]);
  board->pollInput();
  EXPECT_FALSE(markAt());
}

}  // namespace
