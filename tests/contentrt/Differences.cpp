#include "Differences.h"

#include <optional>
#include <vector>

#include "ContentError.h"

namespace contentrt {

namespace {

std::string values(const std::vector<long long>& v) {
  std::string out = "(";
  for (size_t i = 0; i < v.size(); ++i) out += (i ? ", " : "") + std::to_string(v[i]);
  return out + ")";
}

// "<item>: read (...), written (...)" when the value lists differ.
std::string compare(const std::string& item, const std::vector<long long>& got, const std::vector<long long>& want) {
  return got == want ? "" : item + ": read " + values(got) + ", written " + values(want);
}

std::string count(const std::string& item, size_t got, size_t want) {
  return compare(item + " count", {static_cast<long long>(got)}, {static_cast<long long>(want)});
}

std::string fields(const std::string& item, const content::LevelFields& got, const content::LevelFields& want) {
  if (got.size() != want.size()) return count(item + ", field", got.size(), want.size());
  for (size_t i = 0; i < got.size(); ++i) {
    std::string d = compare(item + ", " + content::itemName("field", i), {got[i].bits, got[i].value},
                            {want[i].bits, want[i].value});
    if (!d.empty()) return d;
  }
  return "";
}

std::string map(const content::LevelMap& g, const content::LevelMap& w) {
  std::string d = compare("map properties", {g.p8, g.columns, g.offset, g.p10a, g.p10b, g.extra.value_or(-1), g.width, g.height},
                          {w.p8, w.columns, w.offset, w.p10a, w.p10b, w.extra.value_or(-1), w.width, w.height});
  if (!d.empty()) return d;
  if (g.palette.size() != w.palette.size()) return count("palette entry", g.palette.size(), w.palette.size());
  for (size_t i = 0; i < g.palette.size(); ++i) {
    d = compare(content::itemName("palette entry", i + 1), {g.palette[i]}, {w.palette[i]});
    if (!d.empty()) return d;
  }
  if (g.cells.size() != w.cells.size()) return count("cell", g.cells.size(), w.cells.size());
  for (size_t i = 0; i < g.cells.size(); ++i) {
    d = compare(content::itemName("cell", i), {g.cells[i]}, {w.cells[i]});
    if (!d.empty()) return d;
  }
  return "";
}

std::string entities(const content::LevelEntities& g, const content::LevelEntities& w) {
  if (g.groups.size() != w.groups.size()) return count("entity group", g.groups.size(), w.groups.size());
  for (size_t i = 0; i < g.groups.size(); ++i) {
    const std::string group = content::itemName("entity group", i);
    std::string d = compare(group + ", type", {g.groups[i].type}, {w.groups[i].type});
    if (!d.empty()) return d;
    const auto& ge = g.groups[i].entities;
    const auto& we = w.groups[i].entities;
    if (ge.size() != we.size()) return count(group + ", entity", ge.size(), we.size());
    for (size_t j = 0; j < ge.size(); ++j) {
      const std::string entity = group + ", " + content::itemName("entity", j);
      d = compare(entity, {ge[j].x, ge[j].y}, {we[j].x, we[j].y});
      if (d.empty()) d = fields(entity, ge[j].fields, we[j].fields);
      if (!d.empty()) return d;
    }
  }
  return compare("entity block", {g.rowLength, g.x0, g.y0, g.deltaBits.value_or(-1)},
                 {w.rowLength, w.x0, w.y0, w.deltaBits.value_or(-1)});
}

// "present" or "absent" when only one side has the block.
template <class T>
std::string presence(const std::string& item, const std::optional<T>& got, const std::optional<T>& want) {
  if (got.has_value() == want.has_value()) return "";
  return item + ": read " + (got ? "present" : "absent") + ", written " + (want ? "present" : "absent");
}

}  // namespace

std::string difference(const content::Level& got, const content::Level& want) {
  std::string d = compare("filler", {got.filler}, {want.filler});
  if (d.empty()) d = presence("header", got.header, want.header);
  if (d.empty() && got.header) d = compare("header value", {got.header->value}, {want.header->value});
  if (d.empty() && got.header) d = fields("header", got.header->fields, want.header->fields);
  if (d.empty()) d = presence("map", got.map, want.map);
  if (d.empty() && got.map) d = map(*got.map, *want.map);
  if (d.empty()) d = presence("entity block", got.entities, want.entities);
  if (d.empty() && got.entities) d = entities(*got.entities, *want.entities);
  return d;
}

std::string difference(const content::AnimationSet& got, const content::AnimationSet& want) {
  if (got.animations.size() != want.animations.size()) return count("animation", got.animations.size(), want.animations.size());
  for (size_t a = 0; a < got.animations.size(); ++a) {
    const std::string item = content::itemName("animation", a);
    const auto& g = got.animations[a];
    const auto& w = want.animations[a];
    std::string d = compare(item + ", loops", {g.loops}, {w.loops});
    if (d.empty() && g.steps.size() != w.steps.size()) d = count(item + ", step", g.steps.size(), w.steps.size());
    for (size_t s = 0; d.empty() && s < g.steps.size(); ++s) {
      const content::AnimationStep& x = g.steps[s];
      const content::AnimationStep& y = w.steps[s];
      d = compare(item + ", " + content::itemName("step", s), {x.frame, x.dx, x.dy, x.duration, x.priority, x.blend},
                  {y.frame, y.dx, y.dy, y.duration, y.priority, y.blend});
    }
    if (!d.empty()) return d;
  }
  if (got.frames.size() != want.frames.size()) return count("frame", got.frames.size(), want.frames.size());
  for (size_t f = 0; f < got.frames.size(); ++f) {
    const std::string item = content::itemName("frame", f);
    const auto& g = got.frames[f];
    const auto& w = want.frames[f];
    std::string d;
    if (g.parts.size() != w.parts.size()) d = count(item + ", part", g.parts.size(), w.parts.size());
    for (size_t p = 0; d.empty() && p < g.parts.size(); ++p) {
      d = compare(item + ", " + content::itemName("part", p),
                  {g.parts[p].sprite, g.parts[p].dx, g.parts[p].dy, g.parts[p].transform},
                  {w.parts[p].sprite, w.parts[p].dx, w.parts[p].dy, w.parts[p].transform});
    }
    if (d.empty() && g.boxes.size() != w.boxes.size()) d = count(item + ", box", g.boxes.size(), w.boxes.size());
    for (size_t b = 0; d.empty() && b < g.boxes.size(); ++b) {
      const content::FrameBox& x = g.boxes[b];
      const content::FrameBox& y = w.boxes[b];
      d = compare(item + ", " + content::itemName("box", b), {x.x, x.y, x.width, x.height, x.circle, x.type},
                  {y.x, y.y, y.width, y.height, y.circle, y.type});
    }
    if (!d.empty()) return d;
  }
  if (got.durations.size() != want.durations.size()) return count("duration", got.durations.size(), want.durations.size());
  for (size_t i = 0; i < got.durations.size(); ++i) {
    std::string d = compare(content::itemName("duration", i), {got.durations[i]}, {want.durations[i]});
    if (!d.empty()) return d;
  }
  return "";
}

std::string difference(const content::GlyphFont& got, const content::GlyphFont& want) {
  const content::GlyphMetrics& g = got.metrics;
  const content::GlyphMetrics& w = want.metrics;
  std::string d = compare("metrics", {g.height, g.baseline, g.missingAdvance, g.lineHeight, g.extraSpacing, g.anchorByAdvance},
                          {w.height, w.baseline, w.missingAdvance, w.lineHeight, w.extraSpacing, w.anchorByAdvance});
  if (!d.empty()) return d;
  if (got.glyphs.size() != want.glyphs.size()) return count("glyph", got.glyphs.size(), want.glyphs.size());
  for (size_t i = 0; i < got.glyphs.size(); ++i) {
    const content::Glyph& x = got.glyphs[i];
    const content::Glyph& y = want.glyphs[i];
    d = compare(content::itemName("glyph", i),
                {x.code, x.sheetX, x.sheetY, x.width, x.height, x.xOffset, x.yOffset, x.advance, x.empty},
                {y.code, y.sheetX, y.sheetY, y.width, y.height, y.xOffset, y.yOffset, y.advance, y.empty});
    if (!d.empty()) return d;
  }
  return compare("sheet", {got.sheet}, {want.sheet});
}

}  // namespace contentrt
