#include "PlayLevels.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "ContentError.h"
#include "DescriptionFile.h"
#include "PlayArt.h"
#include "PlayTables.h"

namespace gamecontent {

using content::require;

const TerrainPack& terrainPack(int group) {
  static const TerrainPack packs[] = {
      {11, 0x2C0B, 7, 4, 8, -1},    // fields
      {12, 0x3018, 4, 5, 5, 6},     // dunes
      {13, 0x340E, 1, 4, 2, 3},     // caves
      {14, 0x3810, 14, 5, -1, -1},  // mountains
      {15, 0x3C14, 0, 5, -1, -1},   // beach
  };
  require(group >= 0 && group < playtables::kGroups, "group " + std::to_string(group), "is not 0..4");
  return packs[group];
}

namespace {

constexpr int kCell = playtables::kCell;

using Line = content::DescriptionFile::Line;

int lookNamed(const std::string& word, const std::string& where) {
  static const std::map<std::string, Look> looks = {
      {"spikes", Look::Spikes}, {"hedgehog", Look::Hedgehog}, {"bat", Look::Bat}, {"bird", Look::Bird}};
  const auto it = looks.find(word);
  require(it != looks.end(), where, "no barrier look " + word + " (spikes, hedgehog, bat, bird)");
  return static_cast<int>(it->second);
}

int wordNumber(const content::DescriptionFile& d, const Line& l, size_t i) {
  return static_cast<int>(d.number(l, i, 0, 4095, "value " + std::to_string(i + 1)));
}

LevelPiece pieceOf(const content::DescriptionFile& d, const Line& l) {
  const std::string& w = l.keyword;
  auto n = [&](size_t i) { return wordNumber(d, l, i); };
  auto optional = [&](size_t i) { return i < l.words.size() ? n(i) : 0; };
  LevelPiece p{w, 0, 0, 0, 0, l.number};
  if (w == "ground" || w == "spikes") {
    d.requireWords(l, 2);
    p.column = n(0), p.width = n(1);
  } else if (w == "block" || w == "ledge") {
    d.requireWords(l, 3);
    p.column = n(0), p.width = n(1), p.height = n(2);
  } else if (w == "item" || w == "life") {
    d.requireWords(l, 1, 2);
    p.column = n(0), p.height = optional(1);
  } else if (w == "barrier") {
    d.requireWords(l, 3, 4);
    p.variant = lookNamed(l.words[0], d.where(l));
    p.width = n(1), p.column = n(2), p.height = optional(3);
  } else if (w == "landscape" || w == "landscape-b") {
    d.requireWords(l, 2);
    p.variant = n(0), p.column = n(1);
  } else {
    d.fail(l, "no piece " + w);
  }
  return p;
}

}  // namespace

LevelSource readLevelSource(const std::filesystem::path& file) {
  const content::DescriptionFile d = content::DescriptionFile::read(file);
  LevelSource s;
  s.name = file.filename().string();
  int lane = -1;
  for (const Line& l : d.lines()) {
    const std::string& w = l.keyword;
    if (w == "level") {
      d.requireWords(l, 1);
      s.number = wordNumber(d, l, 0);
    } else if (w == "size") {
      d.requireWords(l, 2);
      s.columns = wordNumber(d, l, 0), s.rows = wordNumber(d, l, 1);
    } else if (w == "start") {
      d.requireWords(l, 1);
      s.start = wordNumber(d, l, 0);
    } else if (w == "lane") {
      d.requireWords(l, 1);
      if (l.words[0] != "a" && l.words[0] != "b") d.fail(l, "lane a or lane b");
      lane = l.words[0] == "a" ? 0 : 1;
    } else {
      if (lane < 0) d.fail(l, "a piece before its lane");
      s.lanes[lane].push_back(pieceOf(d, l));
    }
  }
  require(s.number >= 0 && s.number < playtables::kGroups * playtables::kStages, s.name, "level is not 0..24");
  require(s.rows >= 6 && s.rows <= playtables::kFullRows && s.rows % 2 == 0, s.name, "rows are 6..20, even");
  require(s.columns >= playtables::kMinColumns && s.columns <= playtables::kMaxColumns, s.name, "columns are 15..1023");
  return s;
}

namespace {

// The lanes' geometry and the records the build collects, by entity type.
class LevelBuilder {
 public:
  explicit LevelBuilder(const LevelSource& s)
      : s_(s),
        pack_(terrainPack(s.number / playtables::kStages)),
        laneRows_(s.rows / 2),
        cells_(static_cast<size_t>(s.columns) * s.rows, 0) {}

  content::Level build() {
    for (int lane = 0; lane < 2; ++lane) buildLane(lane);
    points();
    content::Level level;
    level.header =
        content::LevelHeader{0, {{16, static_cast<uint32_t>(startY(0))}, {16, static_cast<uint32_t>(startY(1))}}};
    content::LevelMap map;
    map.columns = kTileCount;
    map.offset = pack_.tileSheet;
    map.p10a = map.p10b = kCell;
    for (int v = 1; v <= kTileCount; ++v) map.palette.push_back(v);
    map.width = s_.columns;
    map.height = s_.rows;
    map.cells = cells_;
    level.map = map;
    content::LevelEntities e;
    e.rowLength = s_.columns * kCell;
    for (auto& [type, entities] : groups_) {
      std::stable_sort(entities.begin(), entities.end(),
                       [](const auto& a, const auto& b) { return a.y != b.y ? a.y < b.y : a.x < b.x; });
      e.groups.push_back({type, entities});
    }
    level.entities = e;
    return level;
  }

 private:
  int laneTop(int lane) const { return lane * laneRows_ * kCell; }
  int groundRow(int lane) const { return lane * laneRows_ + laneRows_ - 2; }
  int groundTop(int lane) const { return groundRow(lane) * kCell; }
  // Object A starts in the upper lane (point B), object B in the lower.
  int startY(int lane) const { return groundTop(lane) - 2 * kCell; }

  void tile(int column, int row, int code) {
    require(column >= 0 && column < s_.columns && row >= 0 && row < s_.rows, s_.name, "a piece leaves the map");
    cells_[static_cast<size_t>(row) * s_.columns + column] = code;
  }
  void add(int type, int x, int y, content::LevelFields fields) { groups_[type].push_back({x, y, std::move(fields)}); }
  void scaled(int x, int y, int a, int b, int mode) {
    add(playtables::kScaledType, x, y,
        {{16, static_cast<uint32_t>(a)}, {16, static_cast<uint32_t>(b)}, {16, static_cast<uint32_t>(mode)}});
  }

  void buildLane(int lane) {
    std::vector<bool> ground(static_cast<size_t>(s_.columns), false);
    for (const LevelPiece& p : s_.lanes[lane]) {
      if (p.what == "ground") {
        require(p.column < p.width && p.width <= s_.columns, s_.name + ":" + std::to_string(p.line),
                "ground runs from a column to a later one inside the map");
        for (int c = p.column; c < p.width; ++c) ground[static_cast<size_t>(c)] = true;
        scaled(p.column * kCell, groundTop(lane), p.width - p.column, 2, playtables::kSolid);
      }
    }
    for (int c = 0; c < s_.columns; ++c) {
      if (ground[static_cast<size_t>(c)]) {
        tile(c, groundRow(lane), kGrass);
        tile(c, groundRow(lane) + 1, kEarth);
      }
    }
    gaps(lane, ground);
    for (const LevelPiece& p : s_.lanes[lane]) piece(lane, p);
  }

  // Under every run of columns without ground: spikes on the lane's
  // bottom row and a deadly zone on them.
  void gaps(int lane, const std::vector<bool>& ground) {
    const int bottom = lane * laneRows_ + laneRows_ - 1;
    for (int c = 0; c < s_.columns;) {
      if (ground[static_cast<size_t>(c)]) {
        ++c;
        continue;
      }
      int end = c;
      while (end < s_.columns && !ground[static_cast<size_t>(end)]) tile(end++, bottom, kSpikes);
      scaled(c * kCell, bottom * kCell, end - c, 1, playtables::kDeadly);
      c = end;
    }
  }

  void piece(int lane, const LevelPiece& p) {
    const int x = p.column * kCell, top = groundTop(lane), row = groundRow(lane);
    if (p.what == "block") {
      for (int r = 1; r <= p.height; ++r)
        for (int c = p.column; c < p.column + p.width; ++c) tile(c, row - r, kStone);
      scaled(x, top - p.height * kCell, p.width, p.height, playtables::kSolid);
    } else if (p.what == "spikes") {
      for (int c = p.column; c < p.column + p.width; ++c) tile(c, row - 1, kSpikes);
      scaled(x, top - 15, p.width, 5, playtables::kDeadly);
    } else if (p.what == "ledge") {
      for (int c = p.column; c < p.column + p.width; ++c) tile(c, row - p.height, kBrick);
      scaled(x, top - p.height * kCell, p.width, 1, playtables::kPlatform);
    } else if (p.what == "item" || p.what == "life") {
      add(playtables::kItemType, x, top - p.height * kCell, {{2, p.what == "life" ? 1u : 0u}, {1, 0}});
    } else if (p.what == "barrier") {
      require(p.variant < pack_.variants, s_.name + ":" + std::to_string(p.line), "the terrain has no such look");
      const int variantBits = pack_.barrierType == 1 ? 2 : 4;
      add(pack_.barrierType, x, top - p.height * kCell,
          {{variantBits, static_cast<uint32_t>(p.variant)},
           {16, 0},
           {1, 0},
           {16, static_cast<uint32_t>(p.width)},
           {16, 0},
           {16, 0},
           {16, 0},
           {16, 0}});
    } else if (p.what == "landscape" || p.what == "landscape-b") {
      const int type = p.what == "landscape" ? pack_.landscapeType : pack_.landscapeBType;
      require(type >= 0, s_.name + ":" + std::to_string(p.line), "the terrain has no " + p.what);
      add(type, x, top, {{playtables::entityFields(type)[0], static_cast<uint32_t>(p.variant)}, {1, 0}});
    }
  }

  void points() {
    add(playtables::kPointType, s_.start * kCell, startY(0), {{1, 1}, {1, 0}});
    add(playtables::kPointType, s_.start * kCell, startY(1), {{1, 0}, {1, 0}});
  }

  const LevelSource& s_;
  const TerrainPack& pack_;
  int laneRows_;
  std::vector<int> cells_;
  std::map<int, std::vector<content::LevelEntity>> groups_;
};

}  // namespace

content::Level buildLevel(const LevelSource& source) { return LevelBuilder(source).build(); }

// --- Solutions ---------------------------------------------------------------

namespace {

constexpr const char* kRegionNames[] = {"a-jump", "a-drop", "b-jump", "b-drop"};

}  // namespace

const char* regionName(TapRegion region) { return kRegionNames[static_cast<int>(region)]; }

std::vector<Tap> readSolution(const std::filesystem::path& file) {
  const content::DescriptionFile d = content::DescriptionFile::read(file);
  std::vector<Tap> taps;
  for (const Line& l : d.lines()) {
    d.requireWords(l, 1);
    const auto parsed = content::parseNumber(l.keyword);
    if (!parsed || *parsed < 1 || *parsed > 100000) d.fail(l, "a tap is: <frame from 1> a-jump|a-drop|b-jump|b-drop");
    const int frame = static_cast<int>(*parsed);
    const auto* name = std::find(std::begin(kRegionNames), std::end(kRegionNames), l.words[0]);
    if (name == std::end(kRegionNames)) d.fail(l, "no region " + l.words[0]);
    if (!taps.empty() && frame < taps.back().frame) d.fail(l, "the frames do not count up");
    taps.push_back({frame, static_cast<TapRegion>(name - std::begin(kRegionNames))});
  }
  return taps;
}

std::string writeSolution(const std::vector<Tap>& taps, const std::string& heading) {
  std::string text = heading;
  for (const Tap& t : taps) text += std::to_string(t.frame) + " " + regionName(t.region) + "\n";
  return text;
}

namespace {

std::string twoDigits(int n) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "%02d", n);
  return buffer;
}

}  // namespace

std::filesystem::path levelSourcePath(const std::filesystem::path& game, int number) {
  return game / "levels" / ("level-" + twoDigits(number) + ".txt");
}

std::filesystem::path solutionPath(const std::filesystem::path& game, int number) {
  return game / "levels" / ("level-" + twoDigits(number) + ".solution");
}

}  // namespace gamecontent
