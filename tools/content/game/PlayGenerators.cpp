// The manifest's generators for the play packs ("gen:game_..."): the
// runners' packs 5 to 9 and the terrain packs 11 to 15 (src/PlayArt.h) and
// the levels (src/PlayLevels.h).
//
//   game_runner_sprites, game_runner_anims          a runner's sets (its sheet: game_runner)
//   game_life_sheet    arg.tier=<0..4>              the life icons' sheet
//   game_life_sprites, game_life_anims              their sets
//   game_closing       arg.tier=<0..4> arg.runner=<0..1>   a closing picture
//   game_closing_sprites                            its set
//   game_barrier_sheet arg.look=<0..4> arg.terrain=<0..4>  a barrier's sheet
//   game_barrier_sprites, game_barrier_anims  arg.look=<0..4>
//   game_landscape_sheet arg.terrain=<0..4>         landscape pieces' sheet
//   game_landscape_sprites, game_landscape_anims
//   game_play_tiles    arg.terrain=<0..4>           a map tile sheet
//   game_level         arg.level=<0..24>            levels/level-NN.txt

#include <filesystem>
#include <string>

#include "ContentError.h"
#include "ContentGenerators.h"
#include "PlayArt.h"
#include "PlayLevels.h"

namespace {

const std::filesystem::path& playGame() {
  static const std::filesystem::path folder = std::filesystem::path(JME_SOURCE_DIR) / "tools/content/game";
  return folder;
}

std::filesystem::path playArt() { return playGame() / "art"; }

int playNumber(const content::ManifestResource& r, const std::string& key) {
  const auto it = r.options.find(key);
  content::require(it != r.options.end(), r.name(), "the generator needs the option " + key);
  return static_cast<int>(std::stol(it->second, nullptr, 0));
}

gamecontent::Look lookOf(const content::ManifestResource& r) {
  const int look = playNumber(r, "arg.look");
  content::require(look >= 0 && look < gamecontent::kLooks, r.name(), "arg.look is 0..4");
  return static_cast<gamecontent::Look>(look);
}

}  // namespace

JME_CONTENT_GENERATOR(game_runner_sprites)(const content::ManifestResource&) { return gamecontent::runnerSprites(); }

JME_CONTENT_GENERATOR(game_runner_anims)(const content::ManifestResource&) { return gamecontent::runnerAnimations(); }

JME_CONTENT_GENERATOR(game_life_sheet)(const content::ManifestResource& r) {
  return gamecontent::lifeIconSheet(playArt(), playNumber(r, "arg.tier"));
}

JME_CONTENT_GENERATOR(game_life_sprites)(const content::ManifestResource&) { return gamecontent::lifeIconSprites(); }

JME_CONTENT_GENERATOR(game_life_anims)(const content::ManifestResource&) { return gamecontent::lifeIconAnimations(); }

JME_CONTENT_GENERATOR(game_closing)(const content::ManifestResource& r) {
  return gamecontent::closingPicture(playArt(), playNumber(r, "arg.tier"), playNumber(r, "arg.runner"));
}

JME_CONTENT_GENERATOR(game_closing_sprites)(const content::ManifestResource&) { return gamecontent::closingSprites(); }

JME_CONTENT_GENERATOR(game_barrier_sheet)(const content::ManifestResource& r) {
  return gamecontent::barrierSheet(playArt(), lookOf(r), playNumber(r, "arg.terrain"));
}

JME_CONTENT_GENERATOR(game_barrier_sprites)(const content::ManifestResource& r) {
  return gamecontent::barrierSprites(lookOf(r));
}

JME_CONTENT_GENERATOR(game_barrier_anims)(const content::ManifestResource& r) {
  return gamecontent::barrierAnimations(lookOf(r));
}

JME_CONTENT_GENERATOR(game_landscape_sheet)(const content::ManifestResource& r) {
  return gamecontent::landscapeSheet(playArt(), playNumber(r, "arg.terrain"));
}

JME_CONTENT_GENERATOR(game_landscape_sprites)(const content::ManifestResource&) {
  return gamecontent::landscapeSprites();
}

JME_CONTENT_GENERATOR(game_landscape_anims)(const content::ManifestResource&) {
  return gamecontent::landscapeAnimations();
}

JME_CONTENT_GENERATOR(game_play_tiles)(const content::ManifestResource& r) {
  return gamecontent::playTileSheet(playArt(), playNumber(r, "arg.terrain"));
}

JME_CONTENT_GENERATOR(game_level)(const content::ManifestResource& r) {
  const int level = playNumber(r, "arg.level");
  const gamecontent::LevelSource source = gamecontent::readLevelSource(gamecontent::levelSourcePath(playGame(), level));
  content::require(source.number == level, r.name(), "its source names level " + std::to_string(source.number));
  content::require(r.id == 2048 + level, r.name(),
                   "level " + std::to_string(level) + " is resource " + std::to_string(2048 + level));
  return gamecontent::buildLevel(source);
}
