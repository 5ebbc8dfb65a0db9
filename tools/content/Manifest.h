#pragma once

#include <filesystem>
#include <istream>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace content {

// A content manifest: the packs of a resource folder and every resource in
// them, each with its kind, where its content comes from, what it refers
// to and which validator rules apply to it. The text format is described
// in docs/content.md; parseManifest reads it and throws ContentError
// naming "<file>:<line>" on anything it does not take.

// What a resource is, which says how it is built and how it is read back.
enum class ResourceKind {
  SpriteSet,         // "sprites": a sprite set over a sheet image of its pack
  AnimationSet,      // "anims": an animation set, paired with a sprite set
  GlyphSet,          // "glyphs": a glyph font over a sheet image of its pack
  Image,             // "image": a PNG
  Level,             // "level": a level bit stream
  TranslationTable,  // "translation"
  CanvasTextTable,   // "texts"
  Sound,             // "sound": a WAV, type byte 1
  Raw,               // "raw": bytes as they are
};

// The checks a manifest switches on per resource ("check=..."). Parsing,
// references and type bytes are always checked.
enum class Rule {
  Limits,     // "limits": the writer limits of the resource's format
  Durations,  // "durations": every duration of an animation set at least 1
  Glyphs,     // "glyphs": the glyph-set conventions of the engine's font
  PngOrder,   // "png-order": PLTE right after IHDR, tRNS right after PLTE
  BoxTypes,   // "box-types": in every frame, box i has type i (interface sets)
  Sizes,      // "sizes": every sprite at least 1 x 1 unless declared empty
  // The game's own rules (ContentValidator.game.cpp):
  InterfaceBoxes,  // "interface-boxes": box i has type i, the boxes the game reads there, the others zero-size
  ScreenAnims,     // "screen-anims": an animation a screen layer shows is endless or followed by the next
  Pickups,         // "pickups": the gathered look (animation 3) has no item or life box
  ResultsFrame,    // "results-frame": the results list's frame is clear where the list draws its rows
  Charset,         // "charset": a glyph set holds every character of the tables and " /-.0..9"
  TextIds,         // "text-ids": a translation table holds the game's text ids, those it shows non-empty
  // The play packs' rules (check/PlayRules.h):
  GameObject,  // "game-object": box 0 of every frame an effect type; one bounding box, origin bottom-left
  MainObject,  // "main-object": game-object, and the set a main object's animations
  PlayLevel,   // "play-level": a level the play scene can play (the game's fields are implied)
};

// The manifest names of kinds and rules, and the reverse look-ups (nullopt
// for an unknown name).
const char* kindName(ResourceKind kind);
std::optional<ResourceKind> kindNamed(const std::string& name);
const char* ruleName(Rule rule);
std::optional<Rule> ruleNamed(const std::string& name);

// The pack-index type byte a kind gets unless the manifest gives "type=":
// -3 for images and 1 for sounds (the file types "png" and "wav"), -1
// ("rp") for the others.
int defaultTypeByte(ResourceKind kind);

struct ManifestResource {
  int id = 0;     // (pack << 10) | index
  int index = 0;  // 0..1023
  ResourceKind kind = ResourceKind::Raw;
  std::string where;                // "<file>:<line>", for messages
  std::filesystem::path sourcePath; // a file source, absolute or relative to the manifest
  std::string generator;            // a "gen:<name>" source: the generator's name
  int type = -1;                    // the pack-index type byte
  std::optional<int> sheet;         // sprite and glyph sets: the sheet image's index
  std::optional<int> sprites;       // animation sets: the paired sprite set's id
  std::set<int> empty;              // sprites (by index) or glyphs (by code) declared empty
  bool spriteData = false;          // animation sets: also the canvas's sprite data
  std::vector<int> headerFields;    // levels: the bit widths of the game's header fields
  std::vector<int> entityFields;    // levels: those after each entity, by default
  std::map<int, std::vector<int>> entityFieldsByType;  // levels: by entity type
  std::set<Rule> rules;
  std::map<std::string, std::string> options;  // every key=value, for generators

  // The game's fields after an entity of `type`.
  const std::vector<int>& fieldsOfEntity(int type) const;
  bool has(Rule rule) const { return rules.count(rule) != 0; }
  // "resource <id> (pack <p>, index <i>)", how faults name the resource.
  std::string name() const;
};

struct ManifestPack {
  enum class Layout { Simple, Split, Files };
  int number = 0;
  Layout layout = Layout::Simple;
  int parts = 1;            // Split: the part files
  bool indexFirst = true;   // chunked: the "RPHe" chunk before the data chunk
  std::string where;
  std::vector<ManifestResource> resources;  // ascending index

  // The pack's resource count: its highest index + 1 (0 for none).
  int count() const;
  const ManifestResource* find(int index) const;
};

struct Manifest {
  std::filesystem::path folder;  // where relative sources start
  std::vector<ManifestPack> packs;

  const ManifestPack* pack(int number) const;
  // The resource of id `id` (a full id, pack >= 1), or null.
  const ManifestResource* find(int id) const;
  // Every resource in pack and index order.
  std::vector<const ManifestResource*> resources() const;
  // A file source's path: relative ones start at `folder`.
  std::filesystem::path sourceOf(const ManifestResource& r) const;
};

// Reads manifest text; `name` names it in messages and `folder` is where
// relative sources start.
Manifest parseManifest(std::istream& in, const std::string& name, const std::filesystem::path& folder);
// Reads the manifest file at `path` (sources relative to its folder).
Manifest readManifest(const std::filesystem::path& path);

}  // namespace content
