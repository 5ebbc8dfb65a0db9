#pragma once

// The play packs' art: the two runners' sets per tier (packs 5 to 9), the
// life icons and the closing pictures of the level-failed panel, and per
// terrain pack (11 to 15) the barrier sets, the landscape sets and the map
// tile sheet. Pictures come from the picked Pekka Kana 2 cuts under
// art/pk2 (CREDITS.md); the build scales, recolours and palettises them.
//
// Game-object sets (runners, barriers, thrown children) keep one bounding
// box per set with the drawing position at its bottom-left corner (every
// part lies at x >= 0, y <= 0), so that an object stands on a platform at
// its y and walks off a platform's end by its x; box 0 of every frame
// carries the effect type the barrier rules read (0: a hit).

#include <filesystem>

#include "AnimationSetWriter.h"
#include "Art.h"
#include "PngWriter.h"
#include "SpriteSetWriter.h"

namespace gamecontent {

// --- The runners (main objects) -------------------------------------------

// Animations of a runner, by the numbers the game object switches to.
enum RunnerAnimation {
  kStand = 0,
  kStandHurt = 1,
  kWalk = 2,
  kWalkHurt = 3,
  kJump = 4,
  kJumpHurt = 5,
  kFall = 6,
  kFallHurt = 7,
  kAction = 8,
  kDying = 9,
  kDeadFall = 10,
  kKnockedOut = 11,
  kRunnerAnimations = 12
};
// The runner's motion in the animation steps, per 40 ms frame: a jump
// rises by these offsets from its start (then falls), a fall moves
// kFallStep a frame (twice that in its first frame).
inline constexpr int kJumpRise[] = {0, -9, -17, -24, -30, -35, -39, -42, -44, -45};
inline constexpr int kFallStep = 8;
inline constexpr int kFrameMs = 40;

// The eleven poses of runnerSheet() as sprites at (0, -30).
content::SpriteSet runnerSprites();
content::AnimationSet runnerAnimations();

// Life icons of a tier: frame 0 object A's spent life, 1 its life, 2 and 3
// the same of object B, 4 nothing (a life the tier does not give).
content::IndexedImage lifeIconSheet(const std::filesystem::path& art, int tier);
content::SpriteSet lifeIconSprites();
content::AnimationSet lifeIconAnimations();

// The closing picture of the level-failed panel: the runner knocked out on
// a light board, drawn centred on its position.
content::IndexedImage closingPicture(const std::filesystem::path& art, int tier, int runner);
content::SpriteSet closingSprites();

// --- Barriers ------------------------------------------------------------

// A barrier's look, which is also its variant in every terrain pack: the
// thrower's children (the bombs) are the variant after the thrower's.
enum class Look { Spikes = 0, Hedgehog = 1, Bat = 2, Bomb = 3, Bird = 4 };
inline constexpr int kLooks = 5;
// Barriers fall and walk by these steps (pixels a frame): a bomb's fall, a
// hedgehog's walk (to the left), a bird's climb and dive.
inline constexpr int kBombFall = 5;
inline constexpr int kHedgehogWalk = -2;
inline constexpr int kBirdDive = 3;

content::IndexedImage barrierSheet(const std::filesystem::path& art, Look look, int terrain);
content::SpriteSet barrierSprites(Look look);
content::AnimationSet barrierAnimations(Look look);
// The width and height of a look's bounding box.
struct Size {
  int width;
  int height;
};
Size lookSize(Look look);

// --- Landscape and tiles --------------------------------------------------

// Landscape pieces (animated cells): animation 0 a swaying flower, 1 a
// bush, 2 the flower a half sway later; drawn with their bottom-left at
// their position.
content::IndexedImage landscapeSheet(const std::filesystem::path& art, int terrain);
content::SpriteSet landscapeSprites();
content::AnimationSet landscapeAnimations();

// The map tiles of a terrain: one row of 16 x 16 tiles, the fifteen
// picked tiles of tileSheet() and a spike tile. Tile codes (1-based
// columns) the levels use:
enum Tile { kEarth = 1, kGrass = 2, kStone = 8, kBrick = 11, kBlades = 14, kSpikes = 16, kTileCount = 16 };
content::IndexedImage playTileSheet(const std::filesystem::path& art, int terrain);

// --- Spots for the pixel tests -------------------------------------------

// The play packs' key elements carry a flat-coloured spot as the other art
// does (Art.h, spots()): a 2 x 2 square of a colour found nowhere else in
// the element's image, at (x, y) of one frame of it.
//   life     every life icon that shows a life (frames 1 and 3), at (7, 9)
//            of the icon
//   closing  the closing picture of the level-failed panel, at (6, 6)
const std::vector<Spot>& playSpots();
const Spot& playSpot(const char* element);

}  // namespace gamecontent
