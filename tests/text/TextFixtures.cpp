#include "TextFixtures.h"

#include <string>

#include "ContentFixtures.h"
#include "SimplePackWriter.h"
#include "javax_microedition_lcdui_Graphics.h"
#include "tq_Resources.h"
#include "tq_ResourcesExt.h"

namespace text_fixtures {

VMPtr<Gobs> loadGlyphs(const pack_fixtures::ProgramFolder& folder, const content::GlyphFont& font, int pack) {
  const auto fixture = content::fixtures::eightGlyphFont();
  folder.put("RP" + std::to_string(pack) + ".rp",
             content::writeSimplePack({{0, fixture.sheet.png}, {0, content::writeGlyphFont(font)}}, false));
  return tq::ResourcesExt::getGobs(pack << 10 | 1);
}

VMPtr<Image> sheetImage() {
  const auto png = content::fixtures::eightGlyphFont().sheet.png;
  VMPtr<VMArray<int8_t>> data = pack_fixtures::javaBytes(png);
  return Image::createImage(data, 0, data->length);
}

VMPtr<Image> blankImage(int32_t w, int32_t h) {
  VMPtr<Image> image = Image::createImage(w, h);
  VMPtr<javax::microedition::lcdui::Graphics> g = image->getGraphics();
  g->setColor(0x404040);
  g->fillRect(0, 0, w, h);
  return image;
}

std::vector<int32_t> pixels(const VMPtr<Image>& image) {
  const int32_t w = image->getWidth();
  const int32_t h = image->getHeight();
  VMPtr<VMArray<int32_t>> rgb = VMArray<int32_t>::create(w * h);
  image->getRGB(rgb, 0, w, 0, 0, w, h);
  return std::vector<int32_t>(rgb->elements(), rgb->elements() + w * h);
}

VMPtr<Gobs> fixedAdvanceGlyphs() {
  const int16_t metrics[7] = {10, 8, 1, 0, 10, 0, 0};
  VMPtr<Gobs> set = Gobs::create(7);
  for (int32_t i = 0; i < 7; ++i) {
    VMPtr<tq::Gob> glyph = tq::Gob::_VM_new();
    glyph->_VM_init();
    glyph->boxX = static_cast<int16_t>(i + 1);
    glyph->boxWidth = 1;
    glyph->boxHeight = metrics[i];
    set->set(i, glyph);
  }
  return set;
}

}  // namespace text_fixtures
