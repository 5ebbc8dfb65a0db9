#include "Manifest.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "ContentError.h"
#include "DescriptionFile.h"
#include "PackFiles.h"

namespace content {

namespace {

struct KindEntry {
  ResourceKind kind;
  const char* name;
};
constexpr KindEntry kKinds[] = {
    {ResourceKind::SpriteSet, "sprites"},  {ResourceKind::AnimationSet, "anims"},
    {ResourceKind::GlyphSet, "glyphs"},    {ResourceKind::Image, "image"},
    {ResourceKind::Level, "level"},        {ResourceKind::TranslationTable, "translation"},
    {ResourceKind::CanvasTextTable, "texts"}, {ResourceKind::Sound, "sound"},
    {ResourceKind::Raw, "raw"},
};

struct RuleEntry {
  Rule rule;
  const char* name;
};
constexpr RuleEntry kRules[] = {
    {Rule::Limits, "limits"},       {Rule::Durations, "durations"}, {Rule::Glyphs, "glyphs"},
    {Rule::PngOrder, "png-order"},  {Rule::BoxTypes, "box-types"},  {Rule::Sizes, "sizes"},
    {Rule::InterfaceBoxes, "interface-boxes"}, {Rule::ScreenAnims, "screen-anims"}, {Rule::Pickups, "pickups"},
    {Rule::ResultsFrame, "results-frame"},     {Rule::Charset, "charset"},          {Rule::TextIds, "text-ids"},
    {Rule::GameObject, "game-object"}, {Rule::MainObject, "main-object"}, {Rule::PlayLevel, "play-level"},
};

// Which rules a kind can take: a rule named for another kind is a mistake.
bool ruleApplies(Rule rule, ResourceKind kind) {
  switch (rule) {
    case Rule::Limits:
      return true;
    case Rule::Durations:
    case Rule::BoxTypes:
      return kind == ResourceKind::AnimationSet;
    case Rule::Glyphs:
      return kind == ResourceKind::GlyphSet;
    case Rule::PngOrder:
      return kind == ResourceKind::Image || kind == ResourceKind::SpriteSet || kind == ResourceKind::GlyphSet;
    case Rule::Sizes:
      return kind == ResourceKind::SpriteSet || kind == ResourceKind::GlyphSet;
    case Rule::InterfaceBoxes:
    case Rule::ScreenAnims:
    case Rule::Pickups:
    case Rule::ResultsFrame:
      return kind == ResourceKind::AnimationSet;
    case Rule::Charset:
      return kind == ResourceKind::GlyphSet;
    case Rule::TextIds:
      return kind == ResourceKind::TranslationTable;
    case Rule::GameObject:
    case Rule::MainObject:
      return kind == ResourceKind::AnimationSet;
    case Rule::PlayLevel:
      return kind == ResourceKind::Level;
  }
  return false;
}

std::vector<std::string> split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::string part;
  std::istringstream in(text);
  while (std::getline(in, part, separator)) parts.push_back(part);
  if (!text.empty() && text.back() == separator) parts.push_back("");
  return parts;
}

// One manifest file being read: its name, the line being read, and the
// defaults that "check" lines set.
class ManifestReader {
 public:
  ManifestReader(const std::string& name, const std::filesystem::path& folder) : name_(name) {
    manifest_.folder = folder;
  }

  void line(const std::string& raw, int number) {
    where_ = name_ + ":" + std::to_string(number);
    std::string text = raw.substr(0, raw.find('#'));
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    if (words.empty()) return;
    if (words[0] == "pack") return packLine(words);
    if (words[0] == "check") return checkLine(words);
    resourceLine(words);
  }

  Manifest finish() {
    for (auto& pack : manifest_.packs) {
      std::sort(pack.resources.begin(), pack.resources.end(),
                [](const ManifestResource& a, const ManifestResource& b) { return a.index < b.index; });
    }
    for (auto& pack : manifest_.packs) {
      for (ManifestResource& r : pack.resources) resolve(r);
    }
    return std::move(manifest_);
  }

 private:
  [[noreturn]] void fail(const std::string& problem) const { throw ContentError(where_, problem); }

  long long number(const std::string& word, long long lo, long long hi, const std::string& what) const {
    std::optional<long long> parsed = parseNumber(word);
    if (!parsed) fail(what + " \"" + word + "\" is not a number");
    const long long value = *parsed;
    if (value < lo || value > hi) {
      fail(what + " " + word + " is outside " + std::to_string(lo) + ".." + std::to_string(hi));
    }
    return value;
  }

  std::vector<int> numbers(const std::string& list, long long lo, long long hi, const std::string& what) const {
    std::vector<int> values;
    if (list.empty()) return values;
    for (const std::string& w : split(list, ',')) values.push_back(static_cast<int>(number(w, lo, hi, what)));
    return values;
  }

  std::set<Rule> rules(const std::string& list, ResourceKind kind) const {
    std::set<Rule> found;
    if (list == "none") return found;
    for (const std::string& w : split(list, ',')) {
      std::optional<Rule> rule = ruleNamed(w);
      if (!rule) fail("unknown rule \"" + w + "\"");
      if (!ruleApplies(*rule, kind)) fail("rule " + w + " does not apply to " + kindName(kind));
      found.insert(*rule);
    }
    return found;
  }

  ResourceKind kind(const std::string& word) const {
    std::optional<ResourceKind> k = kindNamed(word);
    if (!k) fail("unknown kind \"" + word + "\"");
    return *k;
  }

  // pack <number> [simple | split <parts> | files] [index-last]
  void packLine(const std::vector<std::string>& words) {
    if (words.size() < 2) fail("a pack line needs its number");
    ManifestPack pack;
    pack.where = where_;
    pack.number = static_cast<int>(number(words[1], 1, 0x1FFFFF, "pack number"));
    if (manifest_.pack(pack.number)) fail("pack " + words[1] + " is listed twice");
    const bool chunked = isChunkedPack(pack.number);
    pack.layout = chunked ? ManifestPack::Layout::Split : ManifestPack::Layout::Simple;
    for (size_t i = 2; i < words.size(); ++i) {
      if (words[i] == "simple") {
        pack.layout = ManifestPack::Layout::Simple;
      } else if (words[i] == "split") {
        if (i + 1 >= words.size()) fail("split needs its part count");
        pack.layout = ManifestPack::Layout::Split;
        pack.parts = static_cast<int>(number(words[++i], 1, 65535, "part count"));
      } else if (words[i] == "files") {
        pack.layout = ManifestPack::Layout::Files;
      } else if (words[i] == "index-last") {
        pack.indexFirst = false;
      } else {
        fail("unknown pack setting \"" + words[i] + "\"");
      }
    }
    if (chunked && pack.layout == ManifestPack::Layout::Simple) {
      fail("pack " + words[1] + " is read as a chunked pack: give split <parts> or files");
    }
    if (!chunked && pack.layout != ManifestPack::Layout::Simple) {
      fail("pack " + words[1] + " is read as a simple pack file: split and files do not apply");
    }
    manifest_.packs.push_back(std::move(pack));
  }

  // check <kind> <rule>,<rule>... | none
  void checkLine(const std::vector<std::string>& words) {
    if (words.size() != 3) fail("a check line is: check <kind> <rule>,<rule>... (or none)");
    ResourceKind k = kind(words[1]);
    defaults_[k] = rules(words[2], k);
  }

  // <index or id> <kind> <source> [key=value | flag]...
  void resourceLine(const std::vector<std::string>& words) {
    if (manifest_.packs.empty()) fail("a resource comes before any pack line");
    if (words.size() < 3) fail("a resource line is: <index> <kind> <source> [options]");
    ManifestPack& pack = manifest_.packs.back();
    ManifestResource r;
    r.where = where_;
    long long n = number(words[0], 0, 0x7FFFFFFF, "resource index");
    if (n >= 1024 && n >> 10 != pack.number) fail("id " + words[0] + " is not in pack " + std::to_string(pack.number));
    r.index = static_cast<int>(n & 0x3FF);
    r.id = pack.number << 10 | r.index;
    if (pack.find(r.index)) fail("index " + std::to_string(r.index) + " is listed twice in its pack");
    r.kind = kind(words[1]);
    r.type = defaultTypeByte(r.kind);
    r.rules = defaults_[r.kind];
    if (words[2].rfind("gen:", 0) == 0) {
      r.generator = words[2].substr(4);
      if (r.generator.empty()) fail("gen: needs a generator name");
    } else {
      r.sourcePath = words[2];
    }
    for (size_t i = 3; i < words.size(); ++i) option(r, words[i]);
    requireOptions(r);
    pack.resources.push_back(std::move(r));
  }

  void option(ManifestResource& r, const std::string& word) {
    const size_t eq = word.find('=');
    const std::string key = word.substr(0, eq);
    const std::string value = eq == std::string::npos ? "" : word.substr(eq + 1);
    if (r.options.count(key)) fail("option " + key + " is given twice");
    r.options[key] = value;
    const ResourceKind k = r.kind;
    const bool sheetKind = k == ResourceKind::SpriteSet || k == ResourceKind::GlyphSet;
    if (key == "check") {
      std::set<Rule> more = rules(value, k);
      r.rules.insert(more.begin(), more.end());
    } else if (key == "nocheck") {
      for (Rule rule : rules(value, k)) r.rules.erase(rule);
    } else if (key == "type" && k != ResourceKind::Sound) {
      r.type = static_cast<int>(number(value, -128, 127, "type byte"));
    } else if (key == "sheet" && sheetKind) {
      r.sheet = static_cast<int>(number(value, 0, 1023, "sheet index"));
    } else if (key == "empty" && sheetKind) {
      for (int v : numbers(value, 0, 0xFFFF, "empty entry")) r.empty.insert(v);
    } else if (key == "sprites" && k == ResourceKind::AnimationSet) {
      r.sprites = static_cast<int>(number(value, 0, 0x7FFFFFFF, "sprite set"));
    } else if (key == "sprite-data" && k == ResourceKind::AnimationSet && value.empty()) {
      r.spriteData = true;
    } else if (key == "header-fields" && k == ResourceKind::Level) {
      r.headerFields = numbers(value, 0, 32, "field width");
    } else if (key == "entity-fields" && k == ResourceKind::Level) {
      r.entityFields = numbers(value, 0, 32, "field width");
    } else if (key.rfind("entity-fields.", 0) == 0 && k == ResourceKind::Level) {
      int type = static_cast<int>(number(key.substr(14), 0, 1023, "entity type"));
      r.entityFieldsByType[type] = numbers(value, 0, 32, "field width");
    } else if (key == "transparent" && k == ResourceKind::Image) {
      number(value, 0, 255, "transparent palette index");
    } else if (key.rfind("arg.", 0) != 0) {
      fail("option \"" + word + "\" does not apply to " + kindName(k));
    }
  }

  void requireOptions(const ManifestResource& r) const {
    if ((r.kind == ResourceKind::SpriteSet || r.kind == ResourceKind::GlyphSet) && !r.sheet) {
      fail(std::string(kindName(r.kind)) + " needs sheet=<index of its sheet image>");
    }
    if (r.kind == ResourceKind::AnimationSet && !r.sprites && r.rules.count(Rule::Limits)) {
      fail("anims checked for limits need sprites=<its sprite set> to check sprite indices against");
    }
  }

  // References must name resources of the right kinds.
  void resolve(ManifestResource& r) {
    where_ = r.where;
    if (r.sheet) {
      const ManifestResource* sheet = manifest_.find((r.id & ~0x3FF) | *r.sheet);
      if (!sheet || sheet->kind != ResourceKind::Image) {
        fail("sheet=" + std::to_string(*r.sheet) + " is not an image of pack " + std::to_string(r.id >> 10));
      }
    }
    if (r.sprites) {
      const int id = *r.sprites < 1024 ? ((r.id & ~0x3FF) | *r.sprites) : *r.sprites;
      const ManifestResource* set = manifest_.find(id);
      if (!set || set->kind != ResourceKind::SpriteSet) fail("sprites=" + std::to_string(*r.sprites) + " is not a sprite set");
      r.sprites = id;
    }
  }

  std::string name_;
  std::string where_;
  Manifest manifest_;
  std::map<ResourceKind, std::set<Rule>> defaults_;
};

}  // namespace

const char* kindName(ResourceKind kind) {
  for (const KindEntry& e : kKinds) {
    if (e.kind == kind) return e.name;
  }
  return "?";
}

std::optional<ResourceKind> kindNamed(const std::string& name) {
  for (const KindEntry& e : kKinds) {
    if (name == e.name) return e.kind;
  }
  return std::nullopt;
}

const char* ruleName(Rule rule) {
  for (const RuleEntry& e : kRules) {
    if (e.rule == rule) return e.name;
  }
  return "?";
}

std::optional<Rule> ruleNamed(const std::string& name) {
  for (const RuleEntry& e : kRules) {
    if (name == e.name) return e.rule;
  }
  return std::nullopt;
}

int defaultTypeByte(ResourceKind kind) {
  if (kind == ResourceKind::Image) return -3;
  if (kind == ResourceKind::Sound) return 1;
  return -1;
}

const std::vector<int>& ManifestResource::fieldsOfEntity(int type) const {
  auto it = entityFieldsByType.find(type);
  return it == entityFieldsByType.end() ? entityFields : it->second;
}

std::string ManifestResource::name() const {
  return "resource " + std::to_string(id) + " (pack " + std::to_string(id >> 10) + ", index " + std::to_string(index) +
         ")";
}

int ManifestPack::count() const { return resources.empty() ? 0 : resources.back().index + 1; }

const ManifestResource* ManifestPack::find(int index) const {
  for (const ManifestResource& r : resources) {
    if (r.index == index) return &r;
  }
  return nullptr;
}

const ManifestPack* Manifest::pack(int number) const {
  for (const ManifestPack& p : packs) {
    if (p.number == number) return &p;
  }
  return nullptr;
}

const ManifestResource* Manifest::find(int id) const {
  const ManifestPack* p = pack(id >> 10);
  return p ? p->find(id & 0x3FF) : nullptr;
}

std::vector<const ManifestResource*> Manifest::resources() const {
  std::vector<const ManifestResource*> all;
  for (const ManifestPack& p : packs) {
    for (const ManifestResource& r : p.resources) all.push_back(&r);
  }
  return all;
}

std::filesystem::path Manifest::sourceOf(const ManifestResource& r) const {
  return r.sourcePath.is_absolute() ? r.sourcePath : folder / r.sourcePath;
}

Manifest parseManifest(std::istream& in, const std::string& name, const std::filesystem::path& folder) {
  ManifestReader reader(name, folder);
  std::string text;
  for (int number = 1; std::getline(in, text); ++number) reader.line(text, number);
  return reader.finish();
}

Manifest readManifest(const std::filesystem::path& path) {
  std::ifstream in(path);
  require(in.good(), path.string(), "cannot be read");
  return parseManifest(in, path.string(), path.parent_path());
}

}  // namespace content
