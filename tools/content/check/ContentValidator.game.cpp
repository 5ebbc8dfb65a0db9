// The game's own rules: what the game reads of its interface sets, its
// pick-ups, its glyph sets and its translation tables (docs/content.md,
// "Rules of the game"). The tables below say, per resource id, which boxes
// the game reads in which frame and which animations it starts on a
// screen layer; a manifest switches the rules on per resource.
#include <map>
#include <set>

#include "CheckSupport.h"
#include "ContentValidator.h"
#include "GameTexts.h"
#include "javax_microedition_lcdui_Graphics.h"
#include "javax_microedition_lcdui_Image.h"
#include "tq_AnimSet.h"
#include "tq_Resources.h"
#include "tq_ResourcesExt.h"
#include "tq_util_text_Translation.h"

namespace content {

namespace {

using Ints = VMArray<int32_t>;
using Chars = VMArray<char16_t>;
using javax::microedition::lcdui::Graphics;
using javax::microedition::lcdui::Image;

std::set<int> range(int first, int last) {
  std::set<int> out;
  for (int i = first; i <= last; ++i) out.insert(i);
  return out;
}

// The boxes the game reads in a frame: `required` must be there and have
// an area; `optional` may be either (the game reads them and copes with a
// zero-size one); any other box must be zero-size.
struct FrameBoxes {
  std::set<int> required;
  std::set<int> optional;
};
using SetBoxes = std::map<int, FrameBoxes>;  // by frame; a frame not listed reads none

const std::map<int, SetBoxes>& interfaceBoxes() {
  static const std::map<int, SetBoxes> table = [] {
    std::map<int, SetBoxes> t;
    // The boxes' decoration: rows (touch box 5, arrow boxes 1 to 4) and
    // the answer button (the arrow boxes only).
    t[0xC00] = {{0, {{5}, range(1, 4)}}, {1, {{5}, range(1, 4)}}, {2, {{}, range(1, 4)}}};
    // The balloon's carrying frames come from its animation 2 (below).
    t[0xC01] = {};
    // The HUD: the counter's text box, the pause box, the controls.
    SetBoxes hud = {{0, {{0}, {}}}, {1, {{5}, {}}}, {13, {{0}, {}}}};
    for (int tier = 0; tier < 5; ++tier) {
      hud[2 * tier + 2] = {{1, 2}, {}};
      hud[2 * tier + 3] = {{3, 4}, {}};
    }
    t[0xC02] = hud;
    // Panels and boards: holders, boards (items 0 and 1, text area 1,
    // answers from 3, box 2 read by the layout), the overlay's menu
    // bounds, the results, the results list's title, the marker rows, an
    // award in the tally.
    t[0xC04] = {{0, {range(0, 4), {}}},     {1, {range(0, 4), {}}},       {3, {{0, 1, 3, 4}, {2}}},
                {4, {{0}, {}}},             {6, {range(0, 3), {}}},       {7, {{0, 1, 3}, {2}}},
                {8, {{0, 1, 3, 4}, {2}}},   {9, {{0}, {1}}},              {10, {range(0, 4), {}}},
                {11, {range(0, 3), {}}},    {12, {range(0, 2), {}}},      {13, {{0, 1}, {}}},
                {14, {{0}, {}}},            {15, {{1, 3}, {0, 2}}},       {16, {{0, 1}, {}}}};
    t[0x1000] = {};
    // The menu art: the tier bands' list bounds, the level board, the stage
    // button's stars, the gallery.
    SetBoxes art = {{11, {range(0, 5), {}}}, {12, {range(0, 2), {}}}, {13, {range(0, 12), {}}}};
    for (int tier = 0; tier < 5; ++tier) art[tier + 1] = {{0}, {}};
    t[0x1001] = art;
    t[0x1002] = {};
    t[0x1003] = {{0, {{0, 5}, {}}}, {1, {{0, 3, 5}, {}}}};
    t[0x1004] = {{0, {{0}, {}}}};
    return t;
  }();
  return table;
}

// Boxes that every frame of an animation must carry: the balloon carries
// the fallen runner at its box 0.
const std::map<int, std::map<int, std::set<int>>>& animationBoxes() {
  static const std::map<int, std::map<int, std::set<int>>> table = {{0xC01, {{2, {0}}}}};
  return table;
}

// The animations that the game starts on a screen layer, whose tick moves
// a finished animation on to the next one: the logo, the highlights of
// the level board and the gallery, the balloon, the closing curtains and
// the fallen runner on the level-failed panel (animation 11 of the main
// objects' sets of every tier).
const std::map<int, std::vector<int>>& screenAnimations() {
  static const std::map<int, std::vector<int>> table = {
      {0x400, {0}},     {0xC00, {2, 3, 5}}, {0xC01, {1}},     {0x1000, {1, 3}}, {0x1800, {11}},
      {0x1801, {11}},   {0x1C00, {11}},     {0x1C01, {11}},   {0x2000, {11}},   {0x2001, {11}},
      {0x1400, {11}},   {0x1401, {11}},     {0x2400, {11}},   {0x2401, {11}},
  };
  return table;
}

constexpr int kPickups = 0xC03;
constexpr int kGatheredAnimation = 3;
constexpr int kItemBox = 4, kLifeBox = 5;
constexpr int kPanels = 0xC04;
constexpr int kOverlayFrame = 4, kResultsListFrame = 9;

std::string at(const char* what, int32_t i) { return std::string(what) + " " + std::to_string(i); }

int32_t loopsOf(int32_t entry) { return static_cast<int32_t>(static_cast<uint32_t>(entry) << 16) >> 26; }

// The frames an animation's steps show.
std::set<int> framesOf(const VMPtr<tq::AnimSet>& set, int animation) {
  std::set<int> frames;
  VMPtr<Ints> animations = set->animations, steps = set->steps;
  const int32_t entry = animations->at(animation);
  const int32_t first = static_cast<int32_t>(static_cast<uint32_t>(entry) >> 16);
  for (int32_t s = 0; s < (entry & 0x3FF); ++s) {
    frames.insert(static_cast<int32_t>(static_cast<uint32_t>(steps->at(first + s)) >> 22));
  }
  return frames;
}

std::string hexCode(int code) {
  char text[16];
  std::snprintf(text, sizeof text, "U+%04X", code);
  return text;
}

}  // namespace

void ContentValidator::checkGameRules(const ManifestResource& r) {
  try {
    if (r.kind == ResourceKind::AnimationSet) {
      const bool any = r.has(Rule::InterfaceBoxes) || r.has(Rule::ScreenAnims) || r.has(Rule::Pickups) ||
                       r.has(Rule::ResultsFrame);
      if (!any) return;
      VMPtr<tq::AnimSet> set = tq::Resources::getAnimSet(r.id);
      if (r.has(Rule::InterfaceBoxes)) checkInterfaceBoxes(r, set);
      if (r.has(Rule::ScreenAnims)) checkScreenAnimations(r, set);
      if (r.has(Rule::Pickups)) checkPickups(r, set);
      if (r.has(Rule::ResultsFrame)) checkResultsFrame(r, set);
    } else if (r.kind == ResourceKind::GlyphSet && r.has(Rule::Charset)) {
      checkCharset(r);
    } else if (r.kind == ResourceKind::TranslationTable && r.has(Rule::TextIds)) {
      checkTextIds(r);
    }
  } catch (java::lang::Throwable* thrown) {
    fault(r, "cannot be read for the game's rules: " + check::describe(thrown));
  }
}

void ContentValidator::checkInterfaceBoxes(const ManifestResource& r, const VMPtr<tq::AnimSet>& set) {
  const auto table = interfaceBoxes().find(r.id);
  if (table == interfaceBoxes().end()) return fault(r, "is not one of the game's interface sets");
  SetBoxes reads = table->second;
  if (auto a = animationBoxes().find(r.id); a != animationBoxes().end()) {
    for (const auto& [animation, boxes] : a->second) {
      if (animation >= set->getAnimationCount()) {
        fault(r, at("animation", animation) + ", whose frames carry boxes the game reads, is missing");
        continue;
      }
      for (int f : framesOf(set, animation)) reads[f].required.insert(boxes.begin(), boxes.end());
    }
  }
  VMPtr<Ints> frames = set->frames, boxes = set->boxes;
  VMPtr<Chars> starts = set->frameBoxStart, extras = set->boxExtras;
  const int32_t frameCount = frames->length;
  for (const auto& [f, read] : reads) {
    if (f >= frameCount && !read.required.empty()) {
      fault(r, at("frame", f) + ", whose boxes the game reads, is missing: the set has " + std::to_string(frameCount) + " frames");
    }
  }
  for (int32_t f = 0; f < frameCount; ++f) {
    const auto it = reads.find(f);
    const FrameBoxes none;
    const FrameBoxes& read = it == reads.end() ? none : it->second;
    const int32_t count = frames->at(f) >> 8 & 0xFF;
    for (int32_t b = 0; b < count; ++b) {
      const int32_t box = boxes->at(starts->at(f) + b);
      const int32_t extra = extras->at(starts->at(f) + b);
      const int32_t type = extra & 0x1F, width = box & 0x3FF, height = extra >> 6;
      const std::string item = at("frame", f) + ", " + at("box", b);
      if (type != b) fault(r, item + " has type " + std::to_string(type) + "; box i has type i here");
      const bool empty = width == 0 || height == 0;
      if (read.required.count(b) && empty) fault(r, item + " is zero-size, where the game reads its rectangle");
      if (!read.required.count(b) && !read.optional.count(b) && !empty) {
        fault(r, item + " is " + std::to_string(width) + " x " + std::to_string(height) +
                     ", where the game reads nothing: an unused box is zero-size");
      }
    }
    for (int b : read.required) {
      if (b >= count) fault(r, at("frame", f) + " has no " + at("box", b) + ", which the game reads");
    }
  }
}

void ContentValidator::checkScreenAnimations(const ManifestResource& r, const VMPtr<tq::AnimSet>& set) {
  const auto shown = screenAnimations().find(r.id);
  if (shown == screenAnimations().end()) return;
  VMPtr<Ints> animations = set->animations;
  const int32_t count = animations->length;
  for (int first : shown->second) {
    // A screen layer moves a finished animation on to the next number, so
    // each finite one needs its successor, which is then shown in turn.
    for (int a = first;; ++a) {
      if (a >= count) {
        fault(r, at("animation", a) + (a == first ? ", which a screen layer shows," : ", which a screen layer shows after " +
                                                         at("animation", a - 1) + " ends,") +
                     " is missing: the set has " + std::to_string(count));
        break;
      }
      if (loopsOf(animations->at(a)) < 0) break;
    }
  }
}

void ContentValidator::checkPickups(const ManifestResource& r, const VMPtr<tq::AnimSet>& set) {
  if (r.id != kPickups) return fault(r, "is not the game's pick-up set");
  if (set->getAnimationCount() <= kGatheredAnimation) {
    return fault(r, at("animation", kGatheredAnimation) + ", the look of a gathered pick-up, is missing");
  }
  VMPtr<Ints> frames = set->frames;
  VMPtr<Chars> starts = set->frameBoxStart, extras = set->boxExtras;
  for (int f : framesOf(set, kGatheredAnimation)) {
    for (int32_t b = 0; b < (frames->at(f) >> 8 & 0xFF); ++b) {
      const int32_t type = extras->at(starts->at(f) + b) & 0x1F;
      if (type == kItemBox || type == kLifeBox) {
        fault(r, at("frame", f) + " of " + at("animation", kGatheredAnimation) + " (a gathered pick-up) has " + at("box", b) +
                     " of type " + std::to_string(type) + ", which would count it again");
      }
    }
  }
}

void ContentValidator::checkResultsFrame(const ManifestResource& r, const VMPtr<tq::AnimSet>& set) {
  if (r.id != kPanels || !r.sprites) return fault(r, "is not the game's panel set with its sprite set");
  if (set->getFrameCount() <= kResultsListFrame) {
    return fault(r, at("frame", kResultsListFrame) + ", the results list's frame, is missing");
  }
  // The list's bounds: the lower half of the overlay's box 0, the overlay
  // drawn at the screen's centre.
  VMPtr<Ints> box = Ints::create(5);
  set->getBoxes(kOverlayFrame, 0, box, 0);
  const int32_t h = box->at(3) / 2;
  const int32_t x0 = 120 + box->at(0), y0 = 160 + box->at(1) + h, w = box->at(2);
  if (w <= 0 || h <= 0) return fault(r, at("frame", kOverlayFrame) + " has no box 0 for the results list's bounds");
  set->setGobs(tq::ResourcesExt::getGobs(*r.sprites));
  // Drawn over black and over white: a pixel is clear where both stay the
  // ground they were drawn over.
  auto render = [&](int32_t ground, bool withFrame) {
    VMPtr<Image> image = Image::createImage(240, 320);
    VMPtr<Graphics> g = image->getGraphics();
    g->setColor(ground);
    g->fillRect(0, 0, 240, 320);
    if (withFrame) set->paintFrame(g, kResultsListFrame, 120, 160, 0);
    VMPtr<Ints> pixels = Ints::create(240 * 320);
    image->getRGB(pixels, 0, 240, 0, 0, 240, 320);
    return pixels;
  };
  VMPtr<Ints> black = render(0x000000, true), white = render(0xFFFFFF, true);
  VMPtr<Ints> blackGround = render(0x000000, false), whiteGround = render(0xFFFFFF, false);
  int covered = 0;
  for (int32_t y = std::max(0, y0); y < std::min(320, y0 + h); ++y) {
    for (int32_t x = std::max(0, x0); x < std::min(240, x0 + w); ++x) {
      const int32_t i = y * 240 + x;
      covered += black->at(i) != blackGround->at(i) || white->at(i) != whiteGround->at(i);
    }
  }
  if (covered > 0) {
    fault(r, at("frame", kResultsListFrame) + " covers " + std::to_string(covered) + " pixels of (" + std::to_string(x0) + ", " +
                 std::to_string(y0) + ", " + std::to_string(w) + ", " + std::to_string(h) +
                 "), where the results list draws its rows before it");
  }
}

void ContentValidator::checkCharset(const ManifestResource& r) {
  VMPtr<VMArray<tq::Gob>> gobs = tq::ResourcesExt::getGobs(r.id);
  std::set<int> codes;
  int16_t code = 0;
  for (int32_t i = 0; i < gobs->length; ++i) {
    VMPtr<tq::Gob> g = gobs->get(i);
    code = static_cast<int16_t>(code + g->x * 256 + (g->y & 0xFF));
    codes.insert(code & 0xFFFF);
  }
  std::map<int, std::string> needed;  // code -> where it is needed
  for (char16_t c : std::u16string(u"0123456789/ -.")) needed[c] = "the counter and level names";
  for (const ManifestResource* t : manifest_.resources()) {
    if (t->kind != ResourceKind::TranslationTable) continue;
    VMPtr<tq::util::text::Translation> table = tq::Resources::getTranslation(t->id);
    for (int32_t i = 0; i < table->count; ++i) {
      VMPtr<java::lang::String> text = table->getString(i);
      for (int32_t k = 0; text && k < text->length(); ++k) {
        const char16_t c = text->charAt(k);
        if (c != u'\n' && !needed.count(c)) needed[c] = "text " + std::to_string(i) + " of resource " + std::to_string(t->id);
      }
    }
  }
  tq::Resources::closePack();
  int missing = 0;
  for (const auto& [c, where] : needed) {
    if (codes.count(c)) continue;
    if (++missing <= 10) fault(r, "has no glyph for " + hexCode(c) + ", which " + where + " needs");
  }
  if (missing > 10) fault(r, "lacks " + std::to_string(missing - 10) + " more characters");
}

void ContentValidator::checkTextIds(const ManifestResource& r) {
  VMPtr<tq::util::text::Translation> table = tq::Resources::getTranslation(r.id);
  if (table->count != gamecontent::kTextCount) {
    fault(r, "holds " + std::to_string(table->count) + " texts, where the game's text ids run 0 to " +
                 std::to_string(gamecontent::kTextCount - 1));
  }
  for (int id : gamecontent::usedTextIds()) {
    if (id >= table->count) continue;
    VMPtr<java::lang::String> text = table->getString(id);
    if (!text || text->length() == 0) fault(r, at("text", id) + " is empty, where the game shows it");
  }
}

}  // namespace content
