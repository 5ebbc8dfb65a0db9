#include "PlayRules.h"

#include <map>
#include <optional>
#include <set>

#include "CheckSupport.h"
#include "PlayTables.h"
#include "javax_microedition_lcdui_Image.h"
#include "tq_Resources.h"

namespace content::check {

namespace {

using Ints = VMArray<int32_t>;
constexpr int kMaxEffectType = 7;
constexpr int kMainObjectAnimations = 12;

std::string n(int64_t v) { return std::to_string(v); }

std::string hex(int id) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(id));
  return text;
}

}  // namespace

std::vector<std::string> gameObjectProblems(VMPtr<tq::AnimSet> set, bool mainObject) {
  std::vector<std::string> problems;
  VMPtr<Ints> bounds = Ints::create(4), first = Ints::create(5);
  std::optional<std::array<int32_t, 4>> shared;
  for (int32_t f = 0; f < set->getFrameCount(); ++f) {
    const std::string frame = "frame " + n(f);
    if (set->getBoxCount(f) < 1) {
      problems.push_back(frame + " has no box 0 to carry its effect type");
    } else {
      set->getBoxes(f, 0, first, -1);
      if (first->at(4) > kMaxEffectType) {
        problems.push_back(frame + ": box 0 has type " + n(first->at(4)) + ", not an effect type (0 to 7)");
      }
    }
    set->getFrameBounds(f, 0, bounds);
    const std::array<int32_t, 4> b = {bounds->at(0), bounds->at(1), bounds->at(2), bounds->at(3)};
    if (!shared) {
      shared = b;
      if (b[0] != 0 || b[1] + b[3] != 0) {
        problems.push_back(frame + ": its bounding box (" + n(b[0]) + ", " + n(b[1]) + ", " + n(b[2]) + " x " +
                           n(b[3]) + ") does not have the drawing position at its bottom-left");
      }
    } else if (b != *shared) {
      problems.push_back(frame + ": its bounding box (" + n(b[0]) + ", " + n(b[1]) + ", " + n(b[2]) + " x " + n(b[3]) +
                         ") is not frame 0's; a set has one");
    }
  }
  if (mainObject && set->getAnimationCount() < kMainObjectAnimations) {
    problems.push_back("has " + n(set->getAnimationCount()) + " animations of the 12 a main object switches between");
  }
  return problems;
}

ManifestResource withGameFields(const ManifestResource& level) {
  ManifestResource r = level;
  r.headerFields = playtables::kHeaderFields;
  r.entityFields.clear();
  for (int type = 0; type <= playtables::kItemType; ++type) r.entityFieldsByType[type] = playtables::entityFields(type);
  return r;
}

namespace {

// A level read front to back, with the game's fields kept.
struct Entity {
  int type, x, y;
  std::vector<uint32_t> fields;
};
struct DecodedLevel {
  bool header = false, map = false, entities = false;
  int columns = 0, tileImage = 0, cellWidth = 0, cellHeight = 0, width = 0, height = 0;
  std::vector<int> palette;
  int rowLength = 0, x0 = 0, y0 = 0;
  std::vector<int> groupTypes;
  std::vector<Entity> records;
};

class Bits {
 public:
  explicit Bits(const Bytes& b) : b_(b) {}
  uint32_t read(int count) {
    uint32_t v = 0;
    for (int i = 0; i < count; ++i, ++at_) {
      const size_t byte = at_ / 8;
      const uint32_t bit = byte < b_.size() ? (b_[byte] >> (7 - at_ % 8)) & 1u : 1u;
      v = v << 1 | bit;
    }
    return v;
  }

 private:
  const Bytes& b_;
  size_t at_ = 0;
};

int bitLength(int v) {
  int bits = 0;
  while (v > 0) v >>= 1, ++bits;
  return bits;
}

// Block B: the properties, the palette, the size; the cells are skipped.
void decodeMap(Bits& in, DecodedLevel& d, bool filler) {
  in.read(8);
  d.columns = static_cast<int>(in.read(12));
  const uint32_t offset = in.read(17);
  d.tileImage = offset & 0x10000 ? static_cast<int>(offset) - 0x20000 : static_cast<int>(offset);
  d.cellWidth = static_cast<int>(in.read(10));
  d.cellHeight = static_cast<int>(in.read(10));
  if (in.read(1) == 1) in.read(10);
  const int count = static_cast<int>(in.read(12));
  const int k = static_cast<int>(in.read(4));
  for (int i = 0; i < count; ++i) d.palette.push_back(static_cast<int>(in.read(k)));
  if (filler) in.read(6);
  d.width = static_cast<int>(in.read(12));
  d.height = static_cast<int>(in.read(12));
  const int b = bitLength(count);
  for (int64_t c = 0; c < int64_t{d.width} * d.height; ++c) in.read(b);
}

// Block C: the groups, each entity at its position with the game's fields.
void decodeEntities(Bits& in, DecodedLevel& d, bool filler) {
  d.rowLength = static_cast<int>(in.read(16));
  d.x0 = static_cast<int>(in.read(10));
  d.y0 = static_cast<int>(in.read(10));
  const int groups = static_cast<int>(in.read(10));
  const int deltaBits = static_cast<int>(in.read(5));
  for (int g = 0; g < groups; ++g) {
    const int type = static_cast<int>(in.read(10));
    const int count = static_cast<int>(in.read(12));
    d.groupTypes.push_back(type);
    std::vector<int64_t> sums;
    int64_t s = 0;
    for (int j = 0; j < count; ++j) sums.push_back(s += in.read(deltaBits));
    for (int j = 0; j < count; ++j) {
      Entity e{type, 0, 0, {}};
      if (d.rowLength > 0) {
        e.x = d.x0 + static_cast<int>(sums[j] % d.rowLength);
        e.y = d.y0 + static_cast<int>(sums[j] / d.rowLength);
      }
      for (int w : playtables::entityFields(type)) e.fields.push_back(in.read(w));
      d.records.push_back(e);
    }
    if (filler) in.read(6);
  }
}

DecodedLevel decode(const Bytes& bytes) {
  Bits in(bytes);
  DecodedLevel d;
  const bool filler = in.read(8) & 0x80;
  if ((d.header = in.read(1) == 1)) {
    in.read(10);
    for (int w : playtables::kHeaderFields) in.read(w);
    if (filler) in.read(6);
  }
  if ((d.map = in.read(1) == 1)) decodeMap(in, d, filler);
  if ((d.entities = in.read(1) == 1)) decodeEntities(in, d, filler);
  return d;
}

// The size of resource `id`, or -1 when its pack does not hold it.
int32_t sizeOf(int id) {
  try {
    return tq::Resources::getSize(id);
  } catch (java::lang::Throwable* thrown) {
    VMPtr<java::lang::Throwable> dropped(thrown);
    return -1;
  }
}

// An image's width and height, or nullopt when it does not decode.
std::optional<std::pair<int, int>> imageSize(int id) {
  try {
    VMPtr<javax::microedition::lcdui::Image> image = tq::Resources::getImage(id);
    return std::make_pair(image->getWidth(), image->getHeight());
  } catch (java::lang::Throwable* thrown) {
    VMPtr<java::lang::Throwable> dropped(thrown);
    return std::nullopt;
  }
}

class LevelRules {
 public:
  LevelRules(int id, const DecodedLevel& d) : id_(id), d_(d) {}

  std::vector<std::string> run() {
    if (!d_.header) problem("has no header block (A)");
    if (!d_.map) problem("has no map block (B)");
    if (!d_.entities) problem("has no entity block (C)");
    if (d_.map) mapRules();
    if (d_.entities) entityRules();
    return problems_;
  }

 private:
  void problem(const std::string& text) { problems_.push_back(text); }

  void mapRules() {
    if (d_.cellWidth != playtables::kCell || d_.cellHeight != playtables::kCell) {
      problem("its cells are " + n(d_.cellWidth) + " x " + n(d_.cellHeight) + ", not 16 x 16");
    }
    if (d_.height < 2 || d_.height > playtables::kFullRows) problem(n(d_.height) + " rows, not 2 to 20");
    if (d_.width < playtables::kMinColumns || d_.width > playtables::kMaxColumns) {
      problem(n(d_.width) + " columns, not 15 to 1023");
    }
    if (static_cast<int>(d_.palette.size()) > d_.columns) {
      problem("its palette of " + n(d_.palette.size()) + " is longer than its tile row of " + n(d_.columns));
    }
    for (size_t i = 0; i < d_.palette.size(); ++i) {
      if (d_.palette[i] < 1 || d_.palette[i] > d_.columns) {
        problem("palette entry " + n(i + 1) + " (" + n(d_.palette[i]) + ") is not a tile of its one-row sheet");
      }
    }
    if (d_.tileImage <= 0) return problem("its tile image id " + n(d_.tileImage) + " is not positive");
    const auto tiles = imageSize(d_.tileImage);
    if (!tiles) return problem("its tile image " + hex(d_.tileImage) + " is missing or does not decode");
    if (tiles->second != playtables::kCell || tiles->first != d_.columns * playtables::kCell) {
      problem("its tile image " + hex(d_.tileImage) + " is " + n(tiles->first) + " x " + n(tiles->second) +
              ", not one row of " + n(d_.columns) + " tiles of 16 x 16");
    }
    const int level = id_ - playtables::kLevelBase;
    const int far = level >= 0 && level < 25 ? playtables::kFarByGroup[level / playtables::kStages] : 0;
    if (far == 0) return;
    const auto farSize = imageSize(far);
    if (!farSize || farSize->first != playtables::kFarWidth || farSize->second != playtables::kFarHeight) {
      problem("its group's far image " + hex(far) + " is missing or not 240 x 320");
    }
  }

  void entityRules() {
    if (d_.map && d_.rowLength != d_.width * playtables::kCell) {
      problem("its row length " + n(d_.rowLength) + " is not the map's pixel width " + n(d_.width * playtables::kCell));
    }
    if (d_.x0 != 0 || d_.y0 != 0) problem("its entity origin is (" + n(d_.x0) + ", " + n(d_.y0) + "), not (0, 0)");
    std::map<playtables::Family, int> families;
    for (int type : d_.groupTypes) {
      if (type == playtables::kTextListType) problem("has a text list (type 13)");
      const playtables::Family f = playtables::familyOf(type);
      if (f != playtables::Family::None && ++families[f] == 2) {
        problem("has a second group of the family of type " + n(type));
      }
    }
    const int mapHeight = d_.height * playtables::kCell;
    for (const Entity& e : d_.records) {
      if (d_.map && (e.x >= d_.rowLength || e.y >= mapHeight)) {
        problem("an entity of type " + n(e.type) + " at (" + n(e.x) + ", " + n(e.y) + ") lies outside the map");
      }
    }
    startPoints();
    barrierSets();
  }

  void startPoints() {
    bool found[2] = {false, false};
    for (const Entity& e : d_.records) {
      if (e.type != playtables::kPointType) continue;
      found[e.fields[0]] = true;
      if (!abovePlatform(e.x, e.y)) {
        problem("start point " + n(e.fields[0]) + " at (" + n(e.x) + ", " + n(e.y) + ") is above no platform");
      }
    }
    if (!found[0] || !found[1]) problem("lacks a start point record of selector " + n(found[0] ? 1 : 0));
  }

  bool abovePlatform(int x, int y) const {
    for (const Entity& e : d_.records) {
      if (e.type != playtables::kScaledType || e.fields[2] == playtables::kDeadly) continue;
      const int w = static_cast<int>(e.fields[0]) * d_.cellWidth;
      if (e.x < x + playtables::kCell && x < e.x + w && e.y >= y) return true;
    }
    return false;
  }

  // Every barrier's sets, a thrower's children's; and room for the
  // children among the sprites: the map holds 5 per barrier and 1 per item
  // and runner, a barrier takes 1 and a thrower's children 5 more.
  void barrierSets() {
    int barriers = 0, throwers = 0;
    for (const Entity& e : d_.records) {
      const playtables::Family f = playtables::familyOf(e.type);
      if (f == playtables::Family::Barrier) {
        ++barriers;
        const int kind = static_cast<int>(e.fields[3]);
        if (kind == playtables::kThrowerKind || kind == playtables::kDropperKind) ++throwers;
        const int variant = static_cast<int>(e.fields[0]);
        requireSets(playtables::kSpritesByType[e.type] + variant, playtables::kAnimsByType[e.type] + variant,
                    "a barrier");
        if (static_cast<int>(e.fields[3]) == playtables::kThrowerKind) {
          requireSets(playtables::kSpritesByType[e.type] + variant + 1, playtables::kAnimsByType[e.type] + variant + 1,
                      "a thrower's children");
        }
      } else if (f == playtables::Family::Landscape || f == playtables::Family::LandscapeB) {
        requireSets(playtables::kSpritesByType[e.type], playtables::kAnimsByType[e.type], "a landscape piece");
      }
    }
    if (playtables::kChildren * throwers > (playtables::kSpritesPerBarrier - 1) * barriers) {
      problem(n(throwers) + " throwers of " + n(barriers) +
              " barriers: their children outgrow the sprites the map "
              "keeps for barriers (5 a barrier)");
    }
  }

  void requireSets(int sprites, int anims, const std::string& who) {
    if (!checked_.insert(sprites * 65536 + anims).second) return;
    if (sizeOf(sprites) <= 0) problem(who + "'s sprite set " + hex(sprites) + " is missing");
    if (sizeOf(anims) <= 0) problem(who + "'s animation set " + hex(anims) + " is missing");
  }

  int id_;
  const DecodedLevel& d_;
  std::vector<std::string> problems_;
  std::set<int> checked_;
};

}  // namespace

std::vector<std::string> playLevelProblems(int id, const Bytes& level) {
  const DecodedLevel d = decode(level);
  return LevelRules(id, d).run();
}

}  // namespace content::check
