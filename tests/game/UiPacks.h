#pragma once

// The fixture content of the game's UI: the box and menu art and the five
// translation tables, written with the content writers over the shell's
// packs (GamePacks.h). Frames number their boxes as the game's content
// does: box i has type i. Frames without parts draw nothing, so a pixel
// read sees only the pictures a test is about.
//
//   pack 3 (chunked): 0 the decoration animation set 3072, 4 the frame
//     set 3076, 5 the decoration sprites 3077, 9 the frame sprites 3081,
//     10 their sheet. Decoration frames: 0 row, 1 board row (160 x 40,
//     boxes 1..4 the arrows, 5 the row), 2 answer button (80 x 30),
//     3 disabled row, 4 and 6 a 10 x 10 red mark, 5 empty; animations
//     0, 1, 4 the presses (the mark), 2 and 3 the highlight (the mark),
//     5 hidden. Frames 0..15 of the frame set are boards (below); 3, 5,
//     7, 8 and 15 draw a 40 x 20 sprite at (-20, -10), frame 5 also has a
//     type-2 box.
//   pack 4 (chunked): 1..4 the animation sets 0x1001..0x1004, 6..9 the
//     sprite sets 0x1006..0x1009 (0x1006: sprites 0..4 the stage numbers,
//     5 the lock, 6 the star, each 4 x 4 of its own colour), 10 their
//     sheet, 11 a glyph font of height 0 (0x100B), 12 its sheet, 13 one
//     of height 20 (0x100D).
//   pack 20: the tables 0x5000..0x5004, kTexts texts each (uiText).

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "AnimationSetWriter.h"
#include "SimplePackWriter.h"

namespace gametest {

constexpr int32_t kTexts = 80;
// A text wider than the screen: 60 'a's of advance 5.
constexpr int32_t kLongText = 79;
constexpr int32_t kZeroHeightFont = 0x100B;
constexpr int32_t kTallFont = 0x100D;
// Board frames, relative to the origin (120, 160): the title cell (box 0),
// the text area (box 1), box 2 of height 0, answers 0 and 1 (boxes 3, 4).
constexpr int32_t kTitleBox[4] = {-100, -140, 200, 20};
constexpr int32_t kTextBox[4] = {-90, -110, 180, 100};
constexpr int32_t kAnswerBoxes[2][4] = {{-100, 100, 80, 30}, {20, 100, 80, 30}};
// Decoration row frames: 160 x 40, the row box over all of it.
constexpr int32_t kRowWidth = 160;
constexpr int32_t kRowHeight = 40;
constexpr int32_t kArrowBoxes[4][4] = {{4, 0, 16, 16}, {4, 20, 16, 16}, {24, 0, 8, 8}, {24, 20, 8, 8}};
constexpr uint32_t kMarkColour = 0xFFFF0000;
constexpr int32_t kMarkSize = 10;
// The menu art of 0x1001: the level board (frame 11), a stage button
// (frame 12) and the gallery (frame 13), relative to (120, 160).
constexpr int32_t kStageBoxX0 = -100;
constexpr int32_t kStageBoxStep = 40;
constexpr int32_t kStageBoxY = -20;
constexpr int32_t kStageBoxSize = 30;
constexpr int32_t kBackBox[4] = {-50, 100, 100, 30};
constexpr int32_t kStarBoxX0 = 2;
constexpr int32_t kStarBoxStep = 8;
constexpr int32_t kStarBoxY = 20;
constexpr int32_t kPictureSide = 4;
// Colours of the pictures of 0x1006: stage numbers 0..4, lock 5, star 6.
uint32_t pictureColour(int32_t picture);

// Text `id` of table 0x5000 + table: the about texts 15, 16 and 56 and the
// help texts 57..59 (twenty one-character lines each) and kLongText as
// the tests read them; every other text names its table and id ("t2.13").
std::u16string uiText(int32_t table, int32_t id);

void writeUiPacks(const std::filesystem::path& rsc);

// Pack 3 as writeUiPacks writes it, for fixtures that replace entries.
std::vector<content::PackResource> uiPackThree();
// The sixteen frames of the board set 3076.
std::vector<content::AnimationFrame> uiBoardFrames();

}  // namespace gametest
