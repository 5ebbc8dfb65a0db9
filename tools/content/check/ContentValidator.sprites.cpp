// Sprite sets and glyph sets: both are read by the engine's sprite-set
// loader; a glyph set is then prepared by the font.
#include <cstdio>

#include "CheckSupport.h"
#include "ContentValidator.h"
#include "tq_Gob.h"
#include "tq_Resources.h"
#include "tq_util_text_RichFont.h"

namespace content {

namespace {

using Gobs = VMArray<tq::Gob>;

std::string hexCode(int code) {
  char text[8];
  std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(code));
  return text;
}

// The value block's length the layout word and count call for, or -1
// when the set is too short to say.
long expectedValueBlock(const Bytes& set) {
  check::RawReader in(set);
  in.skip(3);
  const long stored = in.s16() - 4;
  const uint32_t layout = in.u16();
  const uint32_t count = in.u16() & 0x0FFF;
  if (in.cut()) return -1;
  static const int kGroupSize[3] = {2, 4, 4};
  long perSprite = 0;
  int k = 5;
  for (int g = 0; g < 3; ++g) {
    for (int v = 0; v < kGroupSize[g]; ++v) {
      if (layout >> g & 1) continue;
      perSprite += (layout >> k++ & 1) ? 1 : 2;
    }
  }
  return stored == perSprite * static_cast<long>(count) ? -1 : perSprite * static_cast<long>(count);
}

// The sizes rule: every sprite at least 1 x 1 unless its key (index or
// code) is declared empty, and the declared ones 0 x 0.
template <class Name>
std::vector<std::string> sizeProblems(const VMPtr<Gobs>& gobs, const std::vector<int>& keys, const std::set<int>& empty,
                                      Name name) {
  std::vector<std::string> problems;
  for (int32_t i = 0; i < gobs->length; ++i) {
    VMPtr<tq::Gob> g = gobs->get(i);
    const bool declared = empty.count(keys[static_cast<size_t>(i)]) != 0;
    const std::string size = std::to_string(g->width) + " x " + std::to_string(g->height);
    if (!declared && (g->width < 1 || g->height < 1)) {
      problems.push_back(name(keys[static_cast<size_t>(i)]) + " is " + size + " and not declared empty");
    } else if (declared && (g->width != 0 || g->height != 0)) {
      problems.push_back(name(keys[static_cast<size_t>(i)]) + " is declared empty but is " + size);
    }
  }
  return problems;
}

struct LoadedSet {
  VMPtr<Gobs> gobs;
  int32_t unread = 0;  // bytes the loader left after the set
};

LoadedSet loadSet(int id) {
  VMPtr<java::io::DataInputStream> in = tq::Resources::getStream(id);
  LoadedSet set;
  set.gobs = tq::Resources::loadGobs(id, VMPtr<VMArray<int8_t>>(), in, VMPtr<java::io::DataInputStream>());
  set.unread = in->available();
  return set;
}

}  // namespace

void ContentValidator::checkSpriteSet(const ManifestResource& r) {
  const Bytes bytes = engineResourceBytes(r.id);
  if (!checkSheet(r, bytes)) return;
  LoadedSet set = loadSet(r.id);
  if (r.has(Rule::Limits)) {
    const long expected = expectedValueBlock(bytes);
    if (expected >= 0) fault(r, "its value block is not the " + std::to_string(expected) + " bytes its layout calls for");
    if (set.unread > 0) fault(r, check::bytesAfter(set.unread, "the set"));
  }
  if (!r.has(Rule::Sizes)) return;
  std::vector<int> indices;
  for (int32_t i = 0; i < set.gobs->length; ++i) indices.push_back(i);
  for (const std::string& problem : sizeProblems(set.gobs, indices, r.empty, [](int i) { return "sprite " + std::to_string(i); })) {
    fault(r, problem);
  }
}

void ContentValidator::checkGlyphSet(const ManifestResource& r) {
  const Bytes bytes = engineResourceBytes(r.id);
  if (!checkSheet(r, bytes)) return;
  LoadedSet set = loadSet(r.id);
  if (r.has(Rule::Limits) && set.unread > 0) fault(r, check::bytesAfter(set.unread, "the set"));
  const int32_t n = set.gobs->length;
  // Each glyph's code, as the font's preparation sums the stored steps.
  std::vector<int> codes;
  int16_t code = 0;
  for (int32_t i = 0; i < n; ++i) {
    VMPtr<tq::Gob> g = set.gobs->get(i);
    code = static_cast<int16_t>(code + g->x * 256 + (g->y & 0xFF));
    codes.push_back(code & 0xFFFF);
  }
  if (r.has(Rule::Glyphs)) {
    if (n < 7) return fault(r, "holds " + std::to_string(n) + " glyphs; a glyph set needs at least 7");
    const int marker = set.gobs->get(3)->boxHeight;
    if (marker != 255) fault(r, "glyph 3 holds " + std::to_string(marker) + " where the marker 255 belongs");
    const int height = set.gobs->get(0)->boxHeight, lineHeight = set.gobs->get(4)->boxHeight;
    if (height != lineHeight) {
      fault(r, "metric 0 (height " + std::to_string(height) + ") differs from metric 4 (line height " +
                   std::to_string(lineHeight) + ")");
    }
    bool ascending = true;
    for (int32_t i = 1; i < n && ascending; ++i) {
      if (codes[i] <= codes[i - 1]) {
        ascending = false;
        fault(r, "glyph " + std::to_string(i) + " (" + hexCode(codes[i]) + ") does not come after " +
                     hexCode(codes[i - 1]) + "; codes must ascend");
      }
    }
    if (marker == 255 && ascending) {
      // The font prepares the set; every glyph must then be found by its code.
      VMPtr<tq::util::text::RichFont> font = tq::util::text::RichFont::_VM_new();
      font->_VM_init();
      font->setGlyphs(set.gobs);
      for (int32_t i = 0; i < n; ++i) {
        if (font->getGlyph(static_cast<char16_t>(codes[i])) != set.gobs->get(i)) {
          fault(r, "the font does not find glyph " + std::to_string(i) + " (" + hexCode(codes[i]) + ") by its code");
          break;
        }
      }
    }
  }
  if (!r.has(Rule::Sizes)) return;
  for (const std::string& problem : sizeProblems(set.gobs, codes, r.empty, [](int c) { return "glyph " + hexCode(c); })) {
    fault(r, problem);
  }
}

}  // namespace content
