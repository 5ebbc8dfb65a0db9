// Fuzz target: an arbitrary glyph set (7 to 64 glyphs; each glyph's code
// steps, offsets, advance and metric slot from the input, sizes 0 to 4 on
// a shared 4 x 4 image) prepared by setGlyphs, then a fixed text measured,
// boxed and drawn with every anchor. Any exception, crash or read outside
// an array is a fault.

#include <cstdint>
#include <cstring>

#include "VMCollector.h"
#include "VMContext.h"
#include "VMTestEnv.h"
#include "java_lang_String.h"
#include "javax_microedition_lcdui_Image.h"
#include "tq_Gob.h"
#include "tq_util_text_RichFont.h"

namespace {

using Image = javax::microedition::lcdui::Image;

constexpr size_t kGlyphBytes = 12;

int16_t take16(const uint8_t* p) { return static_cast<int16_t>(p[0] << 8 | p[1]); }

VMPtr<VMArray<tq::Gob>> glyphsOf(const uint8_t* data, size_t count, const VMPtr<Image>& image) {
  VMPtr<VMArray<tq::Gob>> set = VMArray<tq::Gob>::create(static_cast<int32_t>(count));
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* p = data + i * kGlyphBytes;
    VMPtr<tq::Gob> g = tq::Gob::_VM_new();
    g->_VM_init();
    g->x = static_cast<int8_t>(p[0]);
    g->y = static_cast<int8_t>(p[1]);
    g->boxX = take16(p + 2);
    g->boxY = take16(p + 4);
    g->boxWidth = take16(p + 6);
    g->boxHeight = i == 3 ? (p[8] & 1 ? 255 : 0) : take16(p + 8);
    g->width = p[10] % 5;
    g->height = p[11] % 5;
    if (g->width > 0 && g->height > 0) g->image = image;
    set->set(static_cast<int32_t>(i), g);
  }
  return set;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static VMNative<Image>* canvas = [] {
    VMTestEnv::start();
    return new VMNative<Image>(Image::createImage(64, 32));
  }();
  const size_t count = size / kGlyphBytes;
  if (count < 7 || count > 64) return 0;
  {
    VMPtr<Image> target(*canvas);
    VMPtr<VMArray<tq::Gob>> set = glyphsOf(data, count, Image::createImage(4, 4));
    VMPtr<tq::util::text::RichFont> font = tq::util::text::RichFont::_VM_new();
    font->_VM_init();
    font->setGlyphs(set);
    font->setGlyphs(set);
    static const char16_t kText[] = u" AzA0\u00E9\u20AC\uFFFF";
    VMPtr<java::lang::String> s = java::lang::String::_VM_fromUTF16(kText, 8);
    VMPtr<VMArray<int32_t>> box = VMArray<int32_t>::create(4);
    font->stringWidth(s);
    font->setTightHeightOnce(1);
    font->stringHeight(s);
    for (int32_t anchor : {20, 17, 65, 40, 9, 2}) {
      font->getStringBounds(s, 10, 10, box, anchor);
      font->drawString(target->getGraphics(), s, 30, 16, anchor);
    }
    font->drawNumber(target->getGraphics(), -12345, 7, 0, 0, 20);
  }
  _VM_collect(_VM_vm);
  return 0;
}
