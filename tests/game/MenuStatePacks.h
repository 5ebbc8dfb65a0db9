#pragma once

// Content for the play scene's menu states (pause, level failed, results)
// patched into the play scene's packs (PlayScenePacks.h) after they are
// written: every other resource of packs 3 and 4 is read back through the
// engine and written again unchanged. Needs a running VM.
//
// Pack 3:
//   0x0C01 the panel effect: animation 1 plays two steps, then
//     animation 2 for ever; its frame has box 0 kEffectBox (relative to
//     the player);
//   0x0C04 the panel frames as the play scene packs have them (icon
//     holders 0 and 1, the overlay 4 with kPanelBox), plus the results
//     panel (frame 6, drawn at (120, 160)): boxes 0 and 1 where the row
//     holders go (kRowHolderA, kRowHolderB), box 2 the counter frame's
//     place, box 3 the title kResultsTitleBox; the row holders (frames
//     10..14): boxes 0..4 the markers, kMarkerX0 + kMarkerStep i; the
//     award panel (frame 16): box 0 kAwardTextBox, box 1
//     kAwardPictureBox;
//   0x0C09 sprites 0 (40 x 20), 1 and 2 (the empty marker, 8 x 8).
// Pack 4:
//   0x1000 the closing: frame 0 with a kClosingSize square sprite at its
//     centre; animations 1 and 3 play kWipeSteps and kFadeSteps steps of
//     40 ms, then 2 and 4 run for ever;
//   0x1005 the closing's square sprite;
//   0x1006 sprites 0..22 (0..7 the menu's pictures as before), 0x1007
//     sprites 0..10, each kLabelWidth x kLabelHeight.

#include <cstdint>
#include <filesystem>

namespace gametest::menustate {

constexpr int32_t kEffectBox[4] = {-8, -8, 16, 16};
constexpr int32_t kRowHolderA[2] = {-100, -100};
constexpr int32_t kRowHolderB[2] = {-100, -60};
constexpr int32_t kCounterPlace[2] = {-30, 20};
constexpr int32_t kResultsTitleBox[4] = {-100, -140, 200, 20};
constexpr int32_t kAwardTextBox[4] = {-100, 40, 200, 60};
constexpr int32_t kAwardPictureBox[4] = {-50, -100, 100, 100};
constexpr int32_t kMarkerX0 = 4;
constexpr int32_t kMarkerStep = 20;
constexpr int32_t kMarkerY = 4;
constexpr int32_t kClosingSize = 40;
constexpr int32_t kWipeSteps = 3;
constexpr int32_t kFadeSteps = 5;
constexpr int32_t kLabelWidth = 20;
constexpr int32_t kLabelHeight = 10;

// Patches packs 3 and 4 under `rsc` and closes the current pack.
void patchMenuStatePacks(const std::filesystem::path& rsc);

}  // namespace gametest::menustate
