// The engine's text, side by side with what a game would write without it.
// Each engine benchmark reports `x_plain`, its time per operation divided
// by that of the plain benchmark run just before it:
//
//   GlyphLine / PlainGlyphLoop: one 40-character line drawn in a glyph
//       font of 96 glyphs (6 x 8 each), against a drawRegion loop over
//       the same glyph images with the advances in an int array.
//   GlyphWidth / PlainAdvanceSum: its stringWidth against a plain sum of
//       the advances.
//   MenuFrame: a ten-line menu drawn (ten 16-character lines), the work of
//       one frame's text; compare it with the 1 ms frame.
//   WrapHelpText: wrapping a 2,000-character help text to 200 pixels.
//   TranslatedString / KeptString: getString of a short text once per
//       frame, against a String kept once.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "TextTableWriter.h"
#include "VMTestEnv.h"
#include "javax_microedition_lcdui_Image.h"
#include "tq_Gob.h"
#include "tq_Resources.h"
#include "tq_TqCanvas.h"
#include "tq_util_text_RichFont.h"
#include "tq_util_text_Translation.h"
#include "tq_util_text_WrappedText.h"

namespace {

using Clock = std::chrono::steady_clock;
using javax::microedition::lcdui::Graphics;
using javax::microedition::lcdui::Image;
using tq::util::text::RichFont;

constexpr int32_t kFirst = 32;
constexpr int32_t kGlyphs = 96;

double plainNanos = 0;

VMPtr<java::lang::String> jstr(const std::u16string& text) {
  return java::lang::String::_VM_fromUTF16(text.data(), static_cast<int32_t>(text.size()));
}

// Runs `body` per iteration, timing the loop; `plain` stores the result
// for the next engine benchmark, otherwise the ratio is reported.
template <class F>
void timed(benchmark::State& state, bool plain, F body) {
  const auto start = Clock::now();
  for (auto _ : state) body();
  const double nanos = std::chrono::duration<double, std::nano>(Clock::now() - start).count() /
                       static_cast<double>(state.iterations());
  if (plain) {
    plainNanos = nanos;
  } else if (plainNanos > 0) {
    state.counters["x_plain"] = nanos / plainNanos;
  }
}

struct Fixture {
  VMPtr<VMArray<tq::Gob>> glyphs;
  VMPtr<RichFont> font;
  VMPtr<VMArray<int32_t>> advances;
  VMPtr<Image> target;
  VMPtr<java::lang::String> line;
};

// A prepared glyph set: code 32 + i, advance 5 or 7, metrics on 0-6.
Fixture& fixture() {
  static Fixture* f = [] {
    VMTestEnv::start();
    auto* made = new Fixture;
    made->glyphs = VMArray<tq::Gob>::create(kGlyphs);
    made->advances = VMArray<int32_t>::create(kGlyphs);
    const int16_t metrics[7] = {10, 8, 4, 0, 10, 0, 0};
    for (int32_t i = 0; i < kGlyphs; ++i) {
      VMPtr<VMArray<int32_t>> argb = VMArray<int32_t>::create(6 * 8);
      for (int32_t p = 0; p < 48; ++p) argb->at(p) = (p + i) % 3 == 0 ? 0xFFFFFFFF : 0;
      VMPtr<tq::Gob> g = tq::Gob::create(argb, 6, 8, 1);
      g->boxX = static_cast<int16_t>(kFirst + i);
      g->boxWidth = static_cast<int16_t>(i % 2 ? 7 : 5);
      g->boxHeight = i < 7 ? metrics[i] : 0;
      g->y = 1;
      made->advances->at(i) = g->boxWidth;
      made->glyphs->set(i, g);
    }
    made->font = RichFont::_VM_new();
    made->font->_VM_init();
    made->font->setGlyphs(made->glyphs);
    made->target = Image::createImage(320, 240);
    made->line = jstr(u"The quick brown fox jumps over lazy dogs");
    return made;
  }();
  return *f;
}

void PlainGlyphLoop(benchmark::State& state) {
  Fixture& f = fixture();
  VMPtr<Graphics> g = f.target->getGraphics();
  timed(state, true, [&] {
    int32_t x = 0;
    for (int32_t i = 0; i < f.line->length(); ++i) {
      const int32_t k = f.line->charAt(i) - kFirst;
      VMPtr<tq::Gob> glyph = f.glyphs->get(k);
      g->drawRegion(glyph->image, 0, 0, 6, 8, 0, x + glyph->x, 10 + glyph->y, 20);
      x += f.advances->at(k);
    }
  });
}
BENCHMARK(PlainGlyphLoop);

void GlyphLine(benchmark::State& state) {
  Fixture& f = fixture();
  VMPtr<Graphics> g = f.target->getGraphics();
  timed(state, false, [&] { f.font->drawString(g, f.line, 0, 10, 20); });
}
BENCHMARK(GlyphLine);

void PlainAdvanceSum(benchmark::State& state) {
  Fixture& f = fixture();
  timed(state, true, [&] {
    int32_t w = 0;
    for (int32_t i = 0; i < f.line->length(); ++i) w += f.advances->at(f.line->charAt(i) - kFirst);
    benchmark::DoNotOptimize(w);
  });
}
BENCHMARK(PlainAdvanceSum);

void GlyphWidth(benchmark::State& state) {
  Fixture& f = fixture();
  timed(state, false, [&] { benchmark::DoNotOptimize(f.font->stringWidth(f.line)); });
}
BENCHMARK(GlyphWidth);

void MenuFrame(benchmark::State& state) {
  Fixture& f = fixture();
  VMPtr<Graphics> g = f.target->getGraphics();
  VMPtr<java::lang::String> entry = jstr(u"Continue playing");
  for (auto _ : state) {
    for (int32_t k = 0; k < 10; ++k) f.font->drawString(g, entry, 160, 20 + 20 * k, 17);
  }
}
BENCHMARK(MenuFrame)->Unit(benchmark::kMicrosecond);

void WrapHelpText(benchmark::State& state) {
  Fixture& f = fixture();
  std::u16string help;
  while (help.size() < 2000) help += u"Tap a stone to move it; three in a row-score well. ";
  help.resize(2000);
  VMPtr<java::lang::String> s = jstr(help);
  VMPtr<tq::util::text::WrappedText> wrapped = tq::util::text::WrappedText::_VM_new();
  wrapped->_VM_init(nullptr);
  for (auto _ : state) benchmark::DoNotOptimize(wrapped->setText(f.font, s, 200));
}
BENCHMARK(WrapHelpText)->Unit(benchmark::kMicrosecond);

VMPtr<tq::util::text::Translation> table() {
  const content::Bytes bytes = content::writeTranslationTable({u"Play", u"Options", u"High scores", u"Quit"});
  VMPtr<VMArray<int8_t>> data = VMArray<int8_t>::create(static_cast<int32_t>(bytes.size()));
  for (size_t i = 0; i < bytes.size(); ++i) data->at(static_cast<int32_t>(i)) = static_cast<int8_t>(bytes[i]);
  VMPtr<tq::util::text::Translation> t = tq::util::text::Translation::_VM_new();
  return t->_VM_init(tq::Resources::openStream(data, 0, data->length), data->length);
}

void KeptString(benchmark::State& state) {
  fixture();
  VMPtr<java::lang::String> kept = table()->getString(2);
  timed(state, true, [&] { benchmark::DoNotOptimize(kept->length()); });
}
BENCHMARK(KeptString);

void TranslatedString(benchmark::State& state) {
  fixture();
  VMPtr<tq::util::text::Translation> t = table();
  timed(state, false, [&] { benchmark::DoNotOptimize(t->getString(2)->length()); });
}
BENCHMARK(TranslatedString);

}  // namespace
