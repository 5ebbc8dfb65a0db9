// Each level built from its source loads through the game's level loader
// into what the source describes; the templates give the pieces the play
// scene has rules for; the level and solution sources refuse what they do
// not take, naming the line.

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <map>
#include <set>

#include "ContentError.h"
#include "LevelPlay.h"
#include "PlayTables.h"

namespace gamecontenttest {
namespace {

using playtables::Family;
const std::filesystem::path kGame = std::filesystem::path(JME_SOURCE_DIR) / "tools/content/game";
constexpr int kLevels = playtables::kGroups * playtables::kStages;

gamecontent::LevelSource source(int n) { return gamecontent::readLevelSource(gamecontent::levelSourcePath(kGame, n)); }

uint32_t field(const content::LevelEntity& e, size_t i) { return e.fields.at(i).value; }

// The loader's records of one family against the built group's entities.
void expectRecords(const VMPtr<ui::LevelLoader>& l, const content::LevelEntityGroup& g) {
  const auto& es = g.entities;
  const int n = static_cast<int>(es.size());
  for (int i = 0; i < n; ++i) {
    SCOPED_TRACE("type " + std::to_string(g.type) + ", record " + std::to_string(i));
    const content::LevelEntity& e = es[static_cast<size_t>(i)];
    switch (playtables::familyOf(g.type)) {
      case Family::Barrier:
        EXPECT_EQ(ui::LevelLoader::barrierCount, n);
        EXPECT_EQ(l->barrierKind->at(i), g.type);
        EXPECT_EQ(l->barrierVariant->at(i), static_cast<int>(field(e, 0)));
        EXPECT_EQ(l->barrierParams->get(i)->at(0), static_cast<int>(field(e, 3)));
        EXPECT_EQ(l->barrierX->at(i), e.x);
        EXPECT_EQ(l->barrierY->at(i), e.y);
        break;
      case Family::Landscape:
        EXPECT_EQ(l->landscapeCount, n);
        EXPECT_EQ(l->landscapeKind->at(i), g.type);
        EXPECT_EQ(l->landscapeVariant->at(i), static_cast<int>(field(e, 0)));
        EXPECT_EQ(l->landscapeX->at(i), e.x);
        EXPECT_EQ(l->landscapeY->at(i), e.y);
        break;
      case Family::LandscapeB:
        EXPECT_EQ(l->landscapeBCount, n);
        EXPECT_EQ(l->landscapeBVariant->at(i), static_cast<int>(field(e, 0)));
        EXPECT_EQ(l->landscapeBX->at(i), e.x);
        break;
      case Family::Scaled: {
        EXPECT_EQ(l->scaledCount, n);
        const int mode = static_cast<int>(field(e, 2));
        EXPECT_EQ(l->scaledX->at(i), e.x);
        EXPECT_EQ(l->scaledY->at(i), e.y);
        EXPECT_EQ(l->scaledA->at(i), static_cast<int>(field(e, 0)) * 16);
        EXPECT_EQ(l->scaledB->at(i), static_cast<int>(field(e, 1)) * (mode == playtables::kDeadly ? 3 : 16));
        EXPECT_EQ(l->scaledMode->at(i), mode);
        break;
      }
      case Family::Item:
        EXPECT_EQ(l->itemCount, n);
        EXPECT_EQ(l->itemValue->at(i), static_cast<int>(field(e, 0)));
        EXPECT_EQ(l->itemX->at(i), e.x);
        EXPECT_EQ(l->itemY->at(i), e.y);
        break;
      default:
        break;
    }
  }
}

TEST(PlayLevels, EachLoadsThroughTheGamesLoaderAsItsSourceSays) {
  for (int n = 0; n < kLevels; ++n) {
    SCOPED_TRACE("level " + std::to_string(n));
    const gamecontent::LevelSource s = source(n);
    const content::Level built = gamecontent::buildLevel(s);
    VMPtr<ui::LevelLoader> l = LevelPlay::shared().load(n);
    EXPECT_EQ(l->width, s.columns);
    EXPECT_EQ(l->height, s.rows);
    EXPECT_EQ(l->scaleA, playtables::kCell);
    EXPECT_EQ(l->scaleB, playtables::kCell);
    EXPECT_EQ(l->signedParam, gamecontent::terrainPack(n / playtables::kStages).tileSheet);
    // Object A (point B) starts in the upper half, object B in the lower.
    EXPECT_EQ(l->pointBX, s.start * 16);
    EXPECT_EQ(l->pointAX, s.start * 16);
    EXPECT_LT(l->pointBY, s.rows * 8);
    EXPECT_GE(l->pointAY, s.rows * 8);
    std::set<Family> present;
    for (const content::LevelEntityGroup& g : built.entities->groups) {
      present.insert(playtables::familyOf(g.type));
      expectRecords(l, g);
    }
    if (!present.count(Family::Barrier)) {
      EXPECT_EQ(ui::LevelLoader::barrierCount, 0);
    }
    if (!present.count(Family::Landscape)) {
      EXPECT_EQ(l->landscapeGroupSize, 0);
    }
    if (!present.count(Family::LandscapeB)) {
      EXPECT_EQ(l->landscapeBGroupSize, 0);
    }
  }
}

// What the levels hold between them: level 0 a flat run of fifteen items
// on the runners' way, and somewhere a life, a half-height map, landscape
// and landscape B pieces, walkers, throwers, a flyer, static hazards,
// platforms, solid blocks and deadly zones; never more than fifteen items.
TEST(PlayLevels, TheTemplatesGiveEveryPieceThePlaySceneHasRulesFor) {
  std::set<std::string> seen;
  for (int n = 0; n < kLevels; ++n) {
    SCOPED_TRACE("level " + std::to_string(n));
    VMPtr<ui::LevelLoader> l = LevelPlay::shared().load(n);
    int items = 0;
    for (int i = 0; i < l->itemCount; ++i) {
      if (l->itemValue->at(i) == 0)
        ++items;
      else
        seen.insert("life");
    }
    EXPECT_LE(items, 15);
    if (n == 0) {
      EXPECT_EQ(items, 15);
      EXPECT_EQ(ui::LevelLoader::barrierCount, 0);
      for (int i = 0; i < l->itemCount; ++i) {
        const int lane = l->itemY->at(i) < l->height * 8 ? 0 : 1;
        EXPECT_EQ(l->itemY->at(i), (lane * l->height / 2 + l->height / 2 - 2) * 16)
            << "item " << i << " is off the ground";
      }
    }
    if (l->height < playtables::kFullRows) seen.insert("half-height");
    if (l->landscapeGroupSize > 0) seen.insert("landscape");
    if (l->landscapeBGroupSize > 0) seen.insert("landscape B");
    for (int i = 0; i < ui::LevelLoader::barrierCount; ++i)
      seen.insert("kind " + std::to_string(l->barrierParams->get(i)->at(0)));
    for (int i = 0; i < l->scaledCount; ++i) seen.insert("mode " + std::to_string(l->scaledMode->at(i)));
  }
  for (const char* piece : {"life", "half-height", "landscape", "landscape B", "kind 3", "kind 4", "kind 5", "kind 6",
                            "mode 0", "mode 1", "mode 2"}) {
    EXPECT_TRUE(seen.count(piece)) << "no level has " << piece;
  }
}

class ScratchFile {
 public:
  explicit ScratchFile(const std::string& text)
      : path_(std::filesystem::temp_directory_path() / ("jme-level-source-" + std::to_string(getpid()) + ".txt")) {
    std::ofstream(path_) << text;
  }
  ~ScratchFile() { std::filesystem::remove(path_); }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

std::string refusal(const std::string& text, bool solution = false) {
  ScratchFile file(text);
  try {
    if (solution)
      gamecontent::readSolution(file.path());
    else
      gamecontent::buildLevel(gamecontent::readLevelSource(file.path()));
  } catch (const content::ContentError& e) {
    return e.what();
  }
  return "<accepted>";
}

TEST(PlayLevels, SourcesRefuseWhatTheyDoNotTakeNamingTheLine) {
  const std::string head = "level 3\nsize 40 20\nstart 2\n";
  const struct {
    std::string text;
    bool solution;
    std::string says;
  } cases[] = {
      {head + "lane a\nladder 4\n", false, ":5: no piece ladder"},
      {head + "ground 0 40\n", false, ":4: a piece before its lane"},
      {head + "lane c\n", false, ":4: lane a or lane b"},
      {head + "lane a\nbarrier dragon 3 10\n", false, "no barrier look dragon"},
      {"level 3\nsize 40 21\nstart 2\n", false, "rows are 6..20, even"},
      {"level 3\nsize 14 20\nstart 2\n", false, "columns are 15..1023"},
      {"level 25\nsize 40 20\nstart 2\n", false, "level is not 0..24"},
      {head + "lane a\nblock 38 4 1\n", false, "a piece leaves the map"},
      {head + "lane a\nground 10 41\n", false, ":5: ground runs from a column to a later one inside the map"},
      {"level 0\nsize 40 20\nstart 2\nlane a\nbarrier bird 4 10\n", false, "the terrain has no such look"},
      {head + "lane a\nlandscape-b 0 10\n", false, "the terrain has no landscape-b"},
      {"12 a-jump\n8 b-jump\n", true, ":2: the frames do not count up"},
      {"12 a-fly\n", true, ":1: no region a-fly"},
      {"0 a-jump\n", true, ":1: a tap is"},
  };
  for (const auto& c : cases) {
    const std::string said = refusal(c.text, c.solution);
    EXPECT_NE(said.find(c.says), std::string::npos) << c.text << "\nsaid: " << said;
  }
}

TEST(PlayLevels, SolutionsReadBackWhatIsWritten) {
  const std::vector<gamecontent::Tap> taps = {{3, gamecontent::TapRegion::AJump},
                                              {3, gamecontent::TapRegion::BDrop},
                                              {40, gamecontent::TapRegion::ADrop},
                                              {41, gamecontent::TapRegion::BJump}};
  ScratchFile file(gamecontent::writeSolution(taps, "# heading\n"));
  EXPECT_EQ(gamecontent::readSolution(file.path()), taps);
}

}  // namespace
}  // namespace gamecontenttest
