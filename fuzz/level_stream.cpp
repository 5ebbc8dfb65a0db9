// Fuzz target: a level bit stream decoded by loadLevel into a canvas whose
// hooks only count, from an in-memory pack. A level may end in
// EOFException (cut short), ArithmeticException (a zero divisor) or
// ArrayIndexOutOfBoundsException (a cell past its palette); a level that
// asks for more cells than the cap is stopped by the canvas. Anything else,
// a crash or a read outside an array, is a fault.

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "VMCollector.h"
#include "VMContext.h"
#include "VMTestEnv.h"
#include "VMThrow.h"
#include "java_io_EOFException.h"
#include "java_lang_ArithmeticException.h"
#include "java_lang_ArrayIndexOutOfBoundsException.h"
#include "java_lang_IllegalStateException.h"
#include "tq_Resources.h"
#include "tq_TqCanvas.h"

namespace fuzz {

// Counts hook calls; a grid may ask for 4095 x 4095 cells of 0 bits each,
// so the count is capped.
class CountingCanvas : public tq::TqCanvas {
  VM_CLASS(CountingCanvas, tq::TqCanvas)

 public:
  static constexpr int32_t kMaxCalls = 200000;
  void tick() override {}
  void paintFrame(VMPtr<Graphics>) override {}
  void levelCell(int32_t, int32_t, int32_t) override { count(); }
  void levelEntity(int32_t, int32_t, int32_t) override { count(); }
  void levelPaletteEntry(int32_t, int32_t) override { count(); }
  void count() {
    if (++calls > kMaxCalls) _VM_throwNew<java::lang::IllegalStateException>("too many cells");
  }
  int32_t calls = 0;
};

}  // namespace fuzz

VM_REGISTER_CLASS(fuzz::CountingCanvas, "fuzz.CountingCanvas", "tq.TqCanvas", 0);

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static VMNative<fuzz::CountingCanvas>* canvas = [] {
    VMTestEnv::start();
    VMPtr<fuzz::CountingCanvas> c = fuzz::CountingCanvas::_VM_new();
    c->_VM_init(VMPtr<javax::microedition::midlet::MIDlet>());
    return new VMNative<fuzz::CountingCanvas>(c);
  }();
  if (size > 1 << 16) return 0;
  {
    VMPtr<VMArray<int8_t, 2>> items = VMArray<int8_t, 2>::createMulti(1, 1);
    VMPtr<VMArray<int8_t>> level = VMArray<int8_t>::create(static_cast<int32_t>(size));
    if (size > 0) std::memcpy(level->elements(), data, size);
    items->set(0, level);
    VMPtr<VMArray<int8_t>> types = VMArray<int8_t>::create(1);
    VMPtr<VMArray<int8_t>> image = tq::Resources::buildPack(items, types);
    if (!tq::Resources::loadIndex(tq::Resources::openStream(image, 0, image->length))) std::abort();
    VMPtr<fuzz::CountingCanvas> c(*canvas);
    c->calls = 0;
    try {
      c->loadLevel(0);
    } catch (java::io::EOFException*) {
    } catch (java::lang::ArithmeticException*) {
    } catch (java::lang::ArrayIndexOutOfBoundsException*) {
    } catch (java::lang::IllegalStateException*) {
    }
  }
  tq::Resources::closePack();
  _VM_collect(_VM_vm);
  return 0;
}
