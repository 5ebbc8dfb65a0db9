// Fuzz target: a sprite set read from arbitrary bytes, beside a small valid
// sheet, from an in-memory pack (the sheet is index 0, the set index 1),
// then each sprite drawn under every transform. A malformed set throws to
// the loader's caller (a cut stream, a missing sheet, a region outside the
// sheet, a block or attribute length below its header, a short block), so
// any java.lang.Exception is an expected outcome; a crash or a read outside
// an array is a fault.

#include <cstdint>
#include <cstring>

#include "PackFixtures.h"
#include "VMCollector.h"
#include "VMContext.h"
#include "VMTestEnv.h"
#include "java_lang_Exception.h"
#include "javax_microedition_lcdui_Graphics.h"
#include "javax_microedition_lcdui_Image.h"
#include "tq_Gob.h"
#include "tq_Resources.h"
#include "tq_ResourcesExt.h"

namespace {

using Graphics = javax::microedition::lcdui::Graphics;

const pack_fixtures::Bytes& sheet() {
  static const pack_fixtures::Bytes png = pack_fixtures::palettePng(
      4, 2, {0xFF, 0, 0, 0, 0xFF, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}, {0, 1, 2, 3, 3, 2, 1, 0});
  return png;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static VMNative<Graphics>* graphics = [] {
    VMTestEnv::start();
    VMPtr<javax::microedition::lcdui::Image> image = javax::microedition::lcdui::Image::createImage(16, 16);
    return new VMNative<Graphics>(image->getGraphics());
  }();
  if (size > 1 << 16) return 0;
  {
    VMPtr<VMArray<int8_t, 2>> items = VMArray<int8_t, 2>::createMulti(1, 2);
    items->set(0, pack_fixtures::javaBytes(sheet()));
    VMPtr<VMArray<int8_t>> set = VMArray<int8_t>::create(static_cast<int32_t>(size));
    if (size > 0) std::memcpy(set->elements(), data, size);
    items->set(1, set);
    VMPtr<VMArray<int8_t>> image = tq::Resources::buildPack(items, VMArray<int8_t>::create(2));
    if (!tq::Resources::loadIndex(tq::Resources::openStream(image, 0, image->length))) return 0;
    try {
      VMPtr<VMArray<tq::Gob>> gobs = tq::ResourcesExt::getGobs(1);
      VMPtr<Graphics> g(*graphics);
      for (int32_t i = 0; i < gobs->length && i < 64; ++i) {
        for (int32_t t = 0; t < 8; ++t) gobs->get(i)->paint(g, 8, 8, t);
      }
    } catch (java::lang::Exception* e) {
      VMPtr<java::lang::Exception> expected(e);
    }
  }
  tq::Resources::closePack();
  _VM_collect(_VM_vm);
  return 0;
}
