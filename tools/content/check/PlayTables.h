#pragma once

// What the game's play scene asks of the resource packs, as plain
// constants: the content that builds the play packs and the validator
// rules over them share these tables, so the two cannot disagree. Ids are
// pack * 1024 + index; level n is resource 2048 + n, n = 5 * group + stage.

#include <array>
#include <cstdint>
#include <vector>

namespace playtables {

inline constexpr int kLevelBase = 2048;
inline constexpr int kGroups = 5;
inline constexpr int kStages = 5;
inline constexpr int kTiers = 5;
inline constexpr int kCell = 16;      // cell width and height in pixels
inline constexpr int kFullRows = 20;  // a map of two 160-pixel views
inline constexpr int kMinColumns = 15;
inline constexpr int kMaxColumns = 1023;
inline constexpr int kFarWidth = 240;
inline constexpr int kFarHeight = 320;

// Level entity types by family.
inline constexpr int kScaledType = 9;
inline constexpr int kTextListType = 13;
inline constexpr int kPointType = 15;
inline constexpr int kItemType = 17;
// Scaled record modes: a platform, a solid block, a deadly zone.
inline constexpr int kPlatform = 0;
inline constexpr int kSolid = 1;
inline constexpr int kDeadly = 2;
// A deadly zone's height unit (its height field times 3 pixels).
inline constexpr int kDeadlyUnit = 3;
// The barrier kind that throws children from the sets at id + 1, and the
// one that throws children of its own sets; each throws at most kChildren.
inline constexpr int kThrowerKind = 5;
inline constexpr int kDropperKind = 2;
inline constexpr int kChildren = 5;
// Sprites the map keeps per barrier (the play scene's sprite capacity is
// items + 5 * barriers + 2).
inline constexpr int kSpritesPerBarrier = 5;

// The sprite set and animation set of each entity type (0 where the type
// has none); a barrier's sets are these plus its variant.
inline constexpr std::array<int, 18> kSpritesByType = {
    0x3C0A, 0x3407, 0x340C, 0x340D, 0x300C, 0x3016, 0x3017, 0x2C05, 0x2C0A, 0, 0, 0, 0, 0, 0x3808, 0, 0, 0x0C08};
inline constexpr std::array<int, 18> kAnimsByType = {
    0x3C00, 0x3400, 0x3405, 0x3406, 0x3000, 0x300A, 0x300B, 0x2C00, 0x2C04, 0, 0, 0, 0, 0, 0x3800, 0, 0, 0x0C03};

// Family of an entity type.
enum class Family { None, Barrier, Landscape, LandscapeB, Scaled, Value, Marker, TextList, Point, Item };
constexpr Family familyOf(int type) {
  switch (type) {
    case 0:
    case 1:
    case 4:
    case 7:
    case 14:
      return Family::Barrier;
    case 2:
    case 5:
    case 8:
      return Family::Landscape;
    case 3:
    case 6:
      return Family::LandscapeB;
    case 9:
      return Family::Scaled;
    case 11:
      return Family::Value;
    case 12:
      return Family::Marker;
    case 13:
      return Family::TextList;
    case 15:
      return Family::Point;
    case 17:
      return Family::Item;
    default:
      return Family::None;
  }
}

// The game's fields after the header value and after each entity type, in
// bits, in stream order (a text list's second field is read either way).
inline const std::vector<int> kHeaderFields = {16, 16};
inline std::vector<int> entityFields(int type) {
  const std::vector<int> barrierTail = {16, 1, 16, 16, 16, 16, 16};
  auto barrier = [&](int variantBits) {
    std::vector<int> f = {variantBits};
    f.insert(f.end(), barrierTail.begin(), barrierTail.end());
    return f;
  };
  switch (type) {
    case 0:
    case 4:
    case 7:
    case 14:
      return barrier(4);
    case 1:
      return barrier(2);
    case 2:
    case 3:
    case 6:
      return {3, 1};
    case 5:
      return {6, 1};
    case 8:
      return {5, 1};
    case 9:
      return {16, 16, 16};
    case 11:
      return {16};
    case 13:
      return {16, 16};
    case 15:
      return {1, 1};
    case 17:
      return {2, 1};
    default:
      return {};
  }
}

// The far background of each group (group 4's far layer is black).
inline constexpr std::array<int, kGroups> kFarByGroup = {0x2C0F, 0x3022, 0x3413, 0x3818, 0};

// The main objects' sets by tier: object A (runner 0) and object B
// (runner 1), each a sprite set and an animation set; the life icons; the
// closing pictures of the level-failed panel (A dead, B dead).
struct TierSets {
  int spritesA, animsA, spritesB, animsB, lifeSprites, lifeAnims, closingA, closingB;
};
inline constexpr std::array<TierSets, kTiers> kTierSets = {{
    {0x1803, 0x1800, 0x1804, 0x1801, 0x1407, 0x1402, 0x1805, 0x1806},
    {0x1C03, 0x1C00, 0x1C04, 0x1C01, 0x1807, 0x1802, 0x1C05, 0x1C06},
    {0x2003, 0x2000, 0x2004, 0x2001, 0x1C07, 0x1C02, 0x2006, 0x2005},
    {0x1404, 0x1401, 0x2403, 0x2400, 0x2007, 0x2002, 0x1405, 0x2405},
    {0x1403, 0x1400, 0x2404, 0x2401, 0x2407, 0x2402, 0x1406, 0x2406},
}};

}  // namespace playtables
