// Fuzz target: the game's level loader over arbitrary level bytes, loaded
// as level 0 (resource 2048) of a one-level pack through the engine's
// loadLevel and the game canvas's level hooks, with a fresh loader per
// input and a small text table for text-list records.
//
// An input ends in a clean exception (EOFException, IllegalStateException,
// StringIndexOutOfBoundsException from the loader, and the canvas's own
// ArithmeticException and ArrayIndexOutOfBoundsException), or in a level
// whose arrays match their counts. An index or null fault raised inside a
// hook (so by the loader) aborts, as does a decoded level whose arrays and
// counts disagree. Grids are capped at 65,536 cells.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "VMCollector.h"
#include "VMContext.h"
#include "VMTestEnv.h"
#include "VMThrow.h"
#include "java_io_EOFException.h"
#include "java_lang_ArithmeticException.h"
#include "java_lang_ArrayIndexOutOfBoundsException.h"
#include "java_lang_IllegalStateException.h"
#include "java_lang_NullPointerException.h"
#include "java_lang_StringIndexOutOfBoundsException.h"
#include "main_CommonCanvas.h"
#include "main_Main.h"
#include "tq_Resources.h"
#include "tq_io_resource_ResourcePack.h"
#include "tq_util_text_Translation.h"
#include "ui_LevelLoader.h"

namespace fuzz {

// The game canvas with each hook guarded: an index or null fault that
// leaves the loader is a fault of the loader.
class GuardedCanvas : public main::CommonCanvas {
  VM_CLASS(GuardedCanvas, main::CommonCanvas)

 public:
  static constexpr int32_t kMaxCells = 1 << 16;
  static constexpr int32_t kMaxGrid = 1 << 16;

  template <class F>
  static void guarded(F&& hook) {
    try {
      hook();
    } catch (java::lang::ArrayIndexOutOfBoundsException* e) {
      std::abort();
    } catch (java::lang::NullPointerException* e) {
      std::abort();
    }
  }

  void levelHeader(int32_t v) override {
    guarded([&] { CommonCanvas::levelHeader(v); });
  }
  void levelProperties(int32_t a, int32_t c, int32_t v, int32_t d, int32_t e, int32_t f, int32_t n) override {
    guarded([&] { CommonCanvas::levelProperties(a, c, v, d, e, f, n); });
  }
  // A grid of more cells than kMaxGrid is stopped before the loader makes
  // it: zeroing arrays of up to 64 MiB (a 4095 x 4095 grid of 0-bit cells
  // is a few bytes of input) took most of the fuzzer's time.
  void levelSize(int32_t w, int32_t h) override {
    if (w * h > kMaxGrid) _VM_throwNew<java::lang::IllegalStateException>("grid too large");
    guarded([&] { CommonCanvas::levelSize(w, h); });
  }
  void levelEntityGroup(int32_t type, int32_t n) override {
    guarded([&] { CommonCanvas::levelEntityGroup(type, n); });
  }
  void levelEntity(int32_t type, int32_t x, int32_t y) override {
    guarded([&] { CommonCanvas::levelEntity(type, x, y); });
  }
  void levelCell(int32_t x, int32_t y, int32_t v) override {
    if (++cells > kMaxCells) _VM_throwNew<java::lang::IllegalStateException>("too many cells");
    guarded([&] { CommonCanvas::levelCell(x, y, v); });
  }

  int32_t cells = 0;
};

}  // namespace fuzz

VM_REGISTER_CLASS(fuzz::GuardedCanvas, "fuzz.GuardedCanvas", "main.CommonCanvas", 0);

namespace {

using ui::LevelLoader;

void require(bool holds) {
  if (!holds) std::abort();
}

template <class A>
int32_t lengthOf(const VMField<A>& a) {
  return a ? a->length : 0;
}

// The arrays of each family hold exactly its count; a family with a group
// size has that many records.
void checkLevel(LevelLoader* l) {
  require(lengthOf(l->cells) == l->width * l->height);
  LevelLoader::_VM_clinitCheck();
  const int32_t barriers = LevelLoader::barrierCount;
  require(barriers == 0 || barriers == l->barrierGroupSize);
  for (int32_t n : {lengthOf(l->barrierKind), lengthOf(l->barrierVariant), lengthOf(l->barrierValue),
                    lengthOf(l->barrierFlag), lengthOf(l->barrierX), lengthOf(l->barrierY), lengthOf(l->barrierParams),
                    lengthOf(l->barrierWork), lengthOf(l->barrierWorkFlags), lengthOf(l->barrierWorkParams)}) {
    require(n == l->barrierGroupSize);
  }
  for (int32_t i = 0; i < barriers; ++i) require(l->barrierParams->get(i)->length == LevelLoader::kBarrierParams);
  require(l->landscapeCount == l->landscapeGroupSize);
  for (int32_t n : {lengthOf(l->landscapeKind), lengthOf(l->landscapeVariant), lengthOf(l->landscapeFlag),
                    lengthOf(l->landscapeX), lengthOf(l->landscapeY)}) {
    require(n == l->landscapeCount);
  }
  require(l->landscapeBCount == l->landscapeBGroupSize);
  for (int32_t n : {lengthOf(l->landscapeBKind), lengthOf(l->landscapeBVariant), lengthOf(l->landscapeBFlag),
                    lengthOf(l->landscapeBX), lengthOf(l->landscapeBY)}) {
    require(n == l->landscapeBCount);
  }
  for (int32_t n : {lengthOf(l->scaledX), lengthOf(l->scaledY), lengthOf(l->scaledA), lengthOf(l->scaledB),
                    lengthOf(l->scaledMode)}) {
    require(n == l->scaledCount);
  }
  require(lengthOf(l->markerX) == l->markerCount);
  require(l->itemCount == l->itemGroupSize);
  for (int32_t n : {lengthOf(l->itemValue), lengthOf(l->itemFlag), lengthOf(l->itemX), lengthOf(l->itemY)}) {
    require(n == l->itemCount);
  }
  require(l->textCount == 0 || (lengthOf(l->textIds) == l->textCount && lengthOf(l->textNumbers) == l->textCount));
}

// Five texts, "07", "x1", "5", "12 apples", "-3": u16 count, then an i16
// length and the bytes of each.
VMPtr<tq::util::text::Translation> textTable() {
  static const char* const kTexts[] = {"07", "x1", "5", "12 apples", "-3"};
  std::vector<uint8_t> bytes = {0, 5};
  for (const char* t : kTexts) {
    const size_t n = std::strlen(t);
    bytes.push_back(0);
    bytes.push_back(static_cast<uint8_t>(n));
    bytes.insert(bytes.end(), t, t + n);
  }
  VMPtr<VMArray<int8_t>> data = VMArray<int8_t>::create(static_cast<int32_t>(bytes.size()));
  std::memcpy(data->elements(), bytes.data(), bytes.size());
  VMPtr<tq::util::text::Translation> table = tq::util::text::Translation::_VM_new();
  return table->_VM_init(tq::Resources::openStream(data, 0, data->length), data->length);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static VMNative<fuzz::GuardedCanvas>* canvas = [] {
    VMTestEnv::start();
    VMPtr<fuzz::GuardedCanvas> c = fuzz::GuardedCanvas::_VM_new();
    c->_VM_init(VMPtr<javax::microedition::midlet::MIDlet>());
    main::Main::_VM_clinitCheck();
    main::Main::canvas = c;
    main::Main::translation = textTable();
    return new VMNative<fuzz::GuardedCanvas>(c);
  }();
  if (size > 1 << 16) return 0;
  {
    VMPtr<VMArray<int8_t, 2>> items = VMArray<int8_t, 2>::createMulti(1, 1);
    VMPtr<VMArray<int8_t>> level = VMArray<int8_t>::create(static_cast<int32_t>(size));
    if (size > 0) std::memcpy(level->elements(), data, size);
    items->set(0, level);
    VMPtr<VMArray<int8_t>> image = tq::Resources::buildPack(items, VMArray<int8_t>::create(1));
    if (!tq::Resources::loadIndex(tq::Resources::openStream(image, 0, image->length))) std::abort();
    // The pack in memory stands for pack 2, where level 0 is resource 2048.
    tq::io::resource::ResourcePack::_VM_clinitCheck();
    tq::io::resource::ResourcePack::currentPack = 2;
    VMPtr<fuzz::GuardedCanvas> c(*canvas);
    c->cells = 0;
    VMPtr<LevelLoader> loader = LevelLoader::_VM_new();
    loader->_VM_init();
    main::Main::levelLoader = loader;
    try {
      loader->load(0);
      checkLevel(loader.get());
    } catch (java::io::EOFException*) {
    } catch (java::lang::ArithmeticException*) {
    } catch (java::lang::ArrayIndexOutOfBoundsException*) {
    } catch (java::lang::IllegalStateException*) {
    } catch (java::lang::StringIndexOutOfBoundsException*) {
    }
  }
  tq::Resources::closePack();
  _VM_collect(_VM_vm);
  return 0;
}
