#pragma once

// The game's levels from their sources under levels/ (README.md gives the
// format): a level is two lanes of pieces, the upper lane run by object A,
// the lower by object B, built into the level stream the game's loader
// reads: the map's tiles (16 x 16 cells on the terrain's one-row tile
// sheet), its scaled records (ground and blocks solid, ledges platforms,
// spikes and the bottoms of gaps deadly), the two start points, items,
// barriers and landscape pieces, every position in map pixels.
//
// A solution beside each level lists the taps that play it to its end:
// per playing frame (1 the first), the region tapped.

#include <filesystem>
#include <string>
#include <vector>

#include "LevelWriter.h"

namespace gamecontent {

// The terrain pack of each group and what it holds for the levels.
struct TerrainPack {
  int pack;
  int tileSheet;       // the map's tile image
  int barrierType;     // the entity type of its barriers
  int variants;        // barrier looks its index layout has room for
  int landscapeType;   // -1: none
  int landscapeBType;  // -1: none
};
const TerrainPack& terrainPack(int group);

// The level source's lane pieces, in cells.
struct LevelPiece {
  std::string what;  // ground, block, spikes, ledge, item, life, barrier, landscape, landscape-b
  int column = 0;
  int width = 0;    // ground: its end column; barrier: the kind
  int height = 0;   // cells above the ground (block and ledge: the block's height / the ledge's)
  int variant = 0;  // barrier look, landscape variant
  int line = 0;
};
struct LevelSource {
  std::string name;
  int number = 0;  // 0..24
  int columns = 0;
  int rows = 0;
  int start = 0;
  std::vector<LevelPiece> lanes[2];  // 0: object A's (upper), 1: object B's (lower)
};
LevelSource readLevelSource(const std::filesystem::path& file);
content::Level buildLevel(const LevelSource& source);

// One tap of a solution: in playing frame `frame`, a region of the play
// HUD: a jump or a drop of object A or B.
enum class TapRegion { AJump, ADrop, BJump, BDrop };
struct Tap {
  int frame;
  TapRegion region;
  bool operator==(const Tap&) const = default;
};
std::vector<Tap> readSolution(const std::filesystem::path& file);
std::string writeSolution(const std::vector<Tap>& taps, const std::string& heading);
const char* regionName(TapRegion region);

// levels/level-NN.txt and its solution levels/level-NN.solution.
std::filesystem::path levelSourcePath(const std::filesystem::path& game, int number);
std::filesystem::path solutionPath(const std::filesystem::path& game, int number);

}  // namespace gamecontent
