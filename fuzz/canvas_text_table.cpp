// Fuzz target: the canvas's text table loaded from arbitrary bytes in an
// in-memory pack, then every entry fetched. Loading swallows what a broken
// table throws; any exception, crash, hang or read outside an array here
// is a fault.

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "VMCollector.h"
#include "VMContext.h"
#include "VMTestEnv.h"
#include "tq_Resources.h"
#include "tq_TqCanvas.h"

namespace fuzz {

class TextCanvas : public tq::TqCanvas {
  VM_CLASS(TextCanvas, tq::TqCanvas)

 public:
  void tick() override {}
  void paintFrame(VMPtr<Graphics>) override {}
};

}  // namespace fuzz

VM_REGISTER_CLASS(fuzz::TextCanvas, "fuzz.TextCanvas", "tq.TqCanvas", 0);

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static VMNative<fuzz::TextCanvas>* canvas = [] {
    VMTestEnv::start();
    VMPtr<fuzz::TextCanvas> c = fuzz::TextCanvas::_VM_new();
    c->_VM_init(VMPtr<javax::microedition::midlet::MIDlet>());
    return new VMNative<fuzz::TextCanvas>(c);
  }();
  if (size > 1 << 16) return 0;
  {
    VMPtr<VMArray<int8_t, 2>> items = VMArray<int8_t, 2>::createMulti(1, 1);
    VMPtr<VMArray<int8_t>> table = VMArray<int8_t>::create(static_cast<int32_t>(size));
    if (size > 0) std::memcpy(table->elements(), data, size);
    items->set(0, table);
    VMPtr<VMArray<int8_t>> types = VMArray<int8_t>::create(1);
    VMPtr<VMArray<int8_t>> image = tq::Resources::buildPack(items, types);
    if (!tq::Resources::loadIndex(tq::Resources::openStream(image, 0, image->length))) std::abort();
    VMPtr<fuzz::TextCanvas> c(*canvas);
    c->loadTexts(0);
    // A table without its count is no table.
    VMPtr<VMArray<java::lang::String>> strings = c->textStrings;
    for (int32_t i = 0; strings && i < strings->length; ++i) c->getText(i);
    c->loadTexts(-1);
  }
  tq::Resources::closePack();
  _VM_collect(_VM_vm);
  return 0;
}
