// Fuzz target: the canvas's sprite data loader over arbitrary bytes from an
// in-memory pack, then an instance of the first animation stepped and
// asked for its rectangles and pieces. A load never throws for bad data
// and leaves the tables aligned (one row in each, or none); the instance
// operations may end in ArrayIndexOutOfBoundsException where the data
// names frames, steps or durations it does not have. Anything else, a
// crash or a read outside an array, is a fault.

#include <cstdint>
#include <cstdlib>

#include "InMemoryPack.h"
#include "VMCollector.h"
#include "VMContext.h"
#include "VMTestEnv.h"
#include "java_lang_ArrayIndexOutOfBoundsException.h"
#include "tq_Resources.h"
#include "tq_TqCanvas.h"

namespace fuzz {

class SpriteCanvas : public tq::TqCanvas {
  VM_CLASS(SpriteCanvas, tq::TqCanvas)

 public:
  void tick() override {}
  void paintFrame(VMPtr<Graphics>) override {}
};

// Every table has `rows` rows (0: all null).
void requireAligned(tq::TqCanvas* c, int32_t rows) {
  VMArray_Base* tables[] = {c->spriteIds.get(),      c->animHeaders.get(), c->animFrameBytes.get(),
                            c->animFrameWords.get(), c->frameRectStarts.get(), c->frameHeaders.get(),
                            c->framePieces.get(),    c->rectWords.get(),   c->rectShorts.get(),
                            c->frameDurations.get()};
  for (VMArray_Base* t : tables) {
    if ((t ? t->length : 0) != rows) std::abort();
  }
}

void playFirstAnimation(tq::TqCanvas* c) {
  VMPtr<VMArray<int16_t>> out = VMArray<int16_t>::create(40);
  try {
    c->initInstance(0, 0, 0);
    for (int32_t elapsed : {0, 7, 1000, 65535}) c->updateInstance(0, elapsed);
    c->getInstanceTime(0);
    c->getInstanceRects(out, 0, 3);
    c->getInstancePieces(out, 0, 1);
    c->getSpriteFrameRectsOfType(out, 0, 0, 2, 1);
  } catch (java::lang::ArrayIndexOutOfBoundsException*) {
  }
}

}  // namespace fuzz

VM_REGISTER_CLASS(fuzz::SpriteCanvas, "fuzz.SpriteCanvas", "tq.TqCanvas", 0);

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static VMNative<fuzz::SpriteCanvas>* canvas = [] {
    VMTestEnv::start();
    VMPtr<fuzz::SpriteCanvas> c = fuzz::SpriteCanvas::_VM_new();
    c->_VM_init(VMPtr<javax::microedition::midlet::MIDlet>());
    return new VMNative<fuzz::SpriteCanvas>(c);
  }();
  if (size > 1 << 16) return 0;
  {
    loadInMemoryPack(data, size);
    VMPtr<fuzz::SpriteCanvas> c(*canvas);
    c->loadSprite(0);
    if (c->spriteStream) std::abort();
    const int32_t rows = c->indexOfSprite(0) == 0 ? 1 : 0;
    fuzz::requireAligned(c.get(), rows);
    if (rows == 1) fuzz::playFirstAnimation(c.get());
    c->releaseSprites();
    fuzz::requireAligned(c.get(), 0);
  }
  tq::Resources::closePack();
  _VM_collect(_VM_vm);
  return 0;
}
