// The manifest's generators for the game's content ("gen:game_..."): each
// builds one resource from the sources under tools/content/game with the
// builders of src/.
//
//   game_texts        arg.file=<texts/ file>   a translation table
//   game_glyphs       arg.set=<glyph set id>   a glyph set (GlyphSets.h)
//   game_glyph_sheet  arg.set=<glyph set id>   that set's sheet image
//   game_far                                   the far background of its id
//   game_tiles        arg.terrain=<0..4>       a terrain's tile sheet
//   game_runner       arg.tier=<0..4> arg.runner=<0..1>   a runner's poses
//   game_icon         arg.icon=star|lock|button|pickup|trophy|ribbon|banner arg.size=<pixels>
//   game_award        arg.award=<0..11>        an award's picture
//   game_logo                                  the logo
//   game_panel        arg.width=<w> arg.height=<h>  a board panel
//   game_ui_sprites                            an interface sprite set (InterfaceArt.h)
//   game_ui_anims                              the animation set of its sprites= set
//   game_ui_sheet     arg.set=<sprite set id>  that set's sheet image

#include <filesystem>
#include <map>
#include <string>

#include "ContentError.h"
#include "Art.h"
#include "ContentGenerators.h"
#include "GameTexts.h"
#include "GlyphSets.h"
#include "InterfaceArt.h"

namespace {

const std::filesystem::path& gameFolder() {
  static const std::filesystem::path folder = std::filesystem::path(JME_SOURCE_DIR) / "tools/content/game";
  return folder;
}

const std::filesystem::path& artFolder() {
  static const std::filesystem::path folder = gameFolder() / "art";
  return folder;
}

const std::string& option(const content::ManifestResource& r, const std::string& key) {
  const auto it = r.options.find(key);
  content::require(it != r.options.end(), r.name(), "the generator needs the option " + key);
  return it->second;
}

int number(const content::ManifestResource& r, const std::string& key) {
  return static_cast<int>(std::stol(option(r, key), nullptr, 0));
}

// The glyph set that `arg.set` names, built once per run (its font and its
// sheet are two resources of one drawing).
const gamecontent::BuiltGlyphSet& glyphSet(const content::ManifestResource& r) {
  static std::map<int, gamecontent::BuiltGlyphSet> built;
  const int id = number(r, "arg.set");
  if (auto it = built.find(id); it != built.end()) return it->second;
  for (const gamecontent::GlyphSetSource& s : gamecontent::glyphSetSources()) {
    if (s.resourceId != id) continue;
    const auto codes = gamecontent::glyphCodes(gamecontent::readTables(gameFolder()));
    return built[id] = gamecontent::buildGlyphSet(gameFolder() / "fonts" / s.font, codes, s.sheetIndex, s.style);
  }
  throw content::ContentError(r.name(), "no glyph set " + std::to_string(id) + " is described");
}

}  // namespace

JME_CONTENT_GENERATOR(game_texts)(const content::ManifestResource& r) {
  return gamecontent::readTexts(gameFolder() / "texts" / option(r, "arg.file"));
}

JME_CONTENT_GENERATOR(game_glyphs)(const content::ManifestResource& r) { return glyphSet(r).font; }

JME_CONTENT_GENERATOR(game_glyph_sheet)(const content::ManifestResource& r) { return glyphSet(r).sheet; }

JME_CONTENT_GENERATOR(game_far)(const content::ManifestResource& r) {
  for (const gamecontent::FarImage& far : gamecontent::farImages()) {
    if (far.resourceId == r.id) return gamecontent::farImage(artFolder(), far);
  }
  throw content::ContentError(r.name(), "no far background is picked for it");
}

JME_CONTENT_GENERATOR(game_tiles)(const content::ManifestResource& r) {
  return gamecontent::tileSheet(artFolder(), number(r, "arg.terrain"));
}

JME_CONTENT_GENERATOR(game_runner)(const content::ManifestResource& r) {
  return gamecontent::runnerSheet(artFolder(), number(r, "arg.tier"), number(r, "arg.runner"));
}

JME_CONTENT_GENERATOR(game_icon)(const content::ManifestResource& r) {
  static const std::map<std::string, gamecontent::Icon> icons = {{"star", gamecontent::Icon::Star},
                                                                 {"lock", gamecontent::Icon::Lock},
                                                                 {"button", gamecontent::Icon::Button},
                                                                 {"pickup", gamecontent::Icon::Pickup},
                                                                 {"trophy", gamecontent::Icon::Trophy},
                                                                 {"ribbon", gamecontent::Icon::Ribbon},
                                                                 {"banner", gamecontent::Icon::Banner}};
  const auto it = icons.find(option(r, "arg.icon"));
  content::require(it != icons.end(), r.name(), "no icon " + option(r, "arg.icon"));
  return gamecontent::icon(artFolder(), it->second, number(r, "arg.size"));
}

JME_CONTENT_GENERATOR(game_award)(const content::ManifestResource& r) {
  return gamecontent::award(artFolder(), number(r, "arg.award"));
}

JME_CONTENT_GENERATOR(game_logo)(const content::ManifestResource&) { return gamecontent::logo(gameFolder()); }

JME_CONTENT_GENERATOR(game_panel)(const content::ManifestResource& r) {
  return gamecontent::panel(number(r, "arg.width"), number(r, "arg.height"));
}

// --- Interface sets: the logo, the boxes, the HUD, the menu pages' art ---

JME_CONTENT_GENERATOR(game_ui_sprites)(const content::ManifestResource& r) {
  return gamecontent::interfaceKit(gameFolder(), r.id).sprites;
}

JME_CONTENT_GENERATOR(game_ui_anims)(const content::ManifestResource& r) {
  content::require(r.sprites.has_value(), r.name(), "names its sprite set with sprites=");
  const auto& kit = gamecontent::interfaceKit(gameFolder(), *r.sprites);
  content::require(kit.anims.has_value(), r.name(), "its sprite set has no frames");
  return *kit.anims;
}

JME_CONTENT_GENERATOR(game_ui_sheet)(const content::ManifestResource& r) {
  return gamecontent::interfaceKit(gameFolder(), number(r, "arg.set")).sheet;
}
