// Fuzz target: saved progress. The input is cut into three records (two
// 16-bit lengths first, then the level's coordinates and item count), the
// game's stores 0, 1 and 2 in a program folder of the fuzz run. The load
// must take the elements each record holds whole and fresh values for the
// rest; a finished level must fit its codes in the result; what is saved
// must load back equal. A crash or a read outside an array is a fault.

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "PackFixtures.h"
#include "VMCollector.h"
#include "VMContext.h"
#include "VMTestEnv.h"
#include "main_Game.h"
#include "main_Main.h"
#include "scene_maingame_InGameObject.h"
#include "tq_TqCanvas.h"

namespace fuzz {

class ProgressCanvas : public tq::TqCanvas {
  VM_CLASS(ProgressCanvas, tq::TqCanvas)

 public:
  void tick() override {}
  void paintFrame(VMPtr<Graphics>) override {}
};

}  // namespace fuzz

VM_REGISTER_CLASS(fuzz::ProgressCanvas, "fuzz.ProgressCanvas", "tq.TqCanvas", 0);

namespace {

using main::Game;
using Bytes = VMArray<int8_t>;

struct Reader {
  const uint8_t* data;
  size_t size;
  size_t at = 0;
  uint32_t take(size_t n) {
    uint32_t v = 0;
    for (size_t i = 0; i < n; ++i) v = v << 8 | (at < size ? data[at++] : 0);
    return v;
  }
  VMPtr<Bytes> record(size_t n) {
    if (n > size - at) n = size - at;
    VMPtr<Bytes> b = Bytes::create(static_cast<int32_t>(n));
    if (n > 0) std::memcpy(b->elements(), data + at, n);
    at += n;
    return b;
  }
};

void checkFlags(const VMPtr<Bytes>& stored, VMArray<int8_t>* flags, bool unlocks) {
  for (int32_t i = 0; i < flags->length; ++i) {
    const int8_t fresh = unlocks && (i == 0 || i == 5) ? 1 : 0;
    const int8_t want = i < stored->length ? (stored->at(i) != 0) : fresh;
    if (flags->at(i) != want) std::abort();
  }
}

void checkGrades(const VMPtr<Bytes>& stored, VMArray<int32_t>* grades) {
  for (int32_t i = 0; i < grades->length; ++i) {
    int32_t want = 0;
    if (4 * i + 4 <= stored->length) {
      uint32_t v = 0;
      for (int32_t k = 0; k < 4; ++k) v = v << 8 | static_cast<uint8_t>(stored->at(4 * i + k));
      want = static_cast<int32_t>(v);
    }
    if (grades->at(i) != want) std::abort();
  }
}

VMPtr<Game> load(const VMPtr<tq::TqCanvas>& canvas) {
  VMPtr<Game> game = Game::_VM_new();
  game->_VM_init(canvas);
  return game;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const pack_fixtures::ProgramFolder folder;  // removed at exit
  static VMNative<fuzz::ProgressCanvas>* canvas = [] {
    VMTestEnv::start();
    VMPtr<fuzz::ProgressCanvas> c = fuzz::ProgressCanvas::_VM_new();
    c->_VM_init(VMPtr<javax::microedition::midlet::MIDlet>());
    return new VMNative<fuzz::ProgressCanvas>(c);
  }();
  if (size > 1 << 14) return 0;
  {
    VMPtr<tq::TqCanvas> c(*canvas);
    Reader in{data, size};
    const uint32_t n0 = in.take(2), n1 = in.take(2);
    const uint32_t level = in.take(4);
    VMPtr<Bytes> r0 = in.record(n0), r1 = in.record(n1), r2 = in.record(size);
    if (!c->writeRecord(0, r0) || !c->writeRecord(1, r1) || !c->writeRecord(2, r2)) std::abort();
    VMPtr<Game> game = load(c);
    checkFlags(r0, Game::unlockFlags.get(), true);
    checkFlags(r1, Game::progressFlags.get(), false);
    checkGrades(r2, Game::bestGrades.get());

    Game::tier = static_cast<int32_t>(level % 5);
    Game::group = static_cast<int32_t>(level / 5 % 5);
    Game::stage = static_cast<int32_t>(level / 25 % 5);
    main::Main::_VM_clinitCheck();
    main::Main::game = game;
    VMPtr<main::Main> controller = main::Main::_VM_new();
    scene::maingame::InGameObject::_VM_clinitCheck();
    scene::maingame::InGameObject::gathered = static_cast<int32_t>(level >> 16);
    VMPtr<VMArray<int32_t>> result = controller->levelFinished();
    if (result->length != 15 || result->at(0) < 0 || result->at(0) > 14) std::abort();

    game->saveUnlocks();
    game->saveProgress();
    game->save();
    VMPtr<Bytes> unlocks = Game::unlockFlags, progress = Game::progressFlags;
    VMPtr<VMArray<int32_t>> grades = Game::bestGrades;
    load(c);
    for (int32_t i = 0; i < unlocks->length; ++i) {
      if (Game::unlockFlags->at(i) != unlocks->at(i)) std::abort();
    }
    for (int32_t i = 0; i < progress->length; ++i) {
      if (Game::progressFlags->at(i) != progress->at(i)) std::abort();
    }
    for (int32_t i = 0; i < grades->length; ++i) {
      if (Game::bestGrades->at(i) != grades->at(i)) std::abort();
    }
    main::Main::game = nullptr;
  }
  _VM_collect(_VM_vm);
  return 0;
}
