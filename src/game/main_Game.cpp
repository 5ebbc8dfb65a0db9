#include "main_Game.h"

VM_REGISTER_CLASS(main::Game, "main.Game", "java.lang.Object", VM_HAS_CLINIT);

namespace main {

using Bytes = VMArray<int8_t>;
using tq::TqCanvas;

int32_t Game::tier;
int32_t Game::group;
int32_t Game::stage;
VMStatic<Bytes> Game::unlockFlags;
VMStatic<Bytes> Game::progressFlags;
VMStatic<VMArray<int32_t>> Game::bestGrades;
VMStatic<Bytes> Game::unlockBytes;
VMStatic<Bytes> Game::progressBytes;
VMStatic<Bytes> Game::bestBytes;

namespace {

// Makes `bytes` the canvas's read buffer from its start.
void startReading(const VMPtr<Bytes>& bytes) {
  TqCanvas::_VM_clinitCheck();
  TqCanvas::readBuffer = bytes;
  TqCanvas::readPosition = 0;
}

// Reads the flags that `bytes` holds into flags[0..]; true when it held
// them all.
bool readFlags(const VMPtr<Bytes>& bytes, const VMPtr<Bytes>& flags) {
  const int32_t n = bytes->length < flags->length ? bytes->length : flags->length;
  startReading(bytes);
  for (int32_t i = 0; i < n; ++i) flags->at(i) = TqCanvas::readBoolean();
  return n == flags->length;
}

bool readInts(const VMPtr<Bytes>& bytes, const VMPtr<VMArray<int32_t>> values) {
  const int32_t whole = bytes->length / 4;
  const int32_t n = whole < values->length ? whole : values->length;
  startReading(bytes);
  for (int32_t i = 0; i < n; ++i) values->at(i) = TqCanvas::readInt();
  return n == values->length;
}

// A zero-filled buffer of `size` bytes made the canvas's write buffer.
VMPtr<Bytes> startWriting(int32_t size) {
  VMPtr<Bytes> buffer = Bytes::create(size);
  TqCanvas::_VM_clinitCheck();
  TqCanvas::writeBuffer = buffer;
  TqCanvas::writePosition = 0;
  return buffer;
}

}  // namespace

void Game::_VM_clinit() {
  tier = 0;
  group = -1;
  stage = 0;
}

VMPtr<Game> Game::_VM_init(VMPtr<TqCanvas> canvas) {
  Base::_VM_init();
  this->canvas = canvas;
  loadUnlocks();
  loadProgress();
  load();
  return VMPtr<Game>(this);
}

void Game::resetUnlocks() {
  VMPtr<Bytes> fresh = Bytes::create(kUnlockCount);
  fresh->at(0) = 1;
  fresh->at(unlockIndex(0, 0)) = 1;
  _VM_clinitCheck();
  unlockFlags = fresh;
}

void Game::resetProgress() {
  VMPtr<Bytes> fresh = Bytes::create(kProgressCount);
  _VM_clinitCheck();
  progressFlags = fresh;
}

void Game::resetBest() {
  VMPtr<VMArray<int32_t>> fresh = VMArray<int32_t>::create(kBestCount);
  _VM_clinitCheck();
  bestGrades = fresh;
}

// Each load starts from the fresh array and reads over it what the record
// holds: a missing or cut record is then written back at once.
void Game::loadFlags(int32_t record, VMStatic<Bytes>& raw, VMStatic<Bytes>& flags, void (*reset)(),
                     void (Game::*write)()) {
  VMPtr<Bytes> bytes = VMPtr<TqCanvas>(canvas)->readRecord(record);
  _VM_clinitCheck();
  raw = bytes;
  reset();
  if (!bytes || !readFlags(bytes, VMPtr<Bytes>(flags))) (this->*write)();
}

void Game::loadUnlocks() { loadFlags(0, unlockBytes, unlockFlags, &resetUnlocks, &Game::saveUnlocks); }

void Game::loadProgress() { loadFlags(1, progressBytes, progressFlags, &resetProgress, &Game::saveProgress); }

void Game::load() {
  VMPtr<Bytes> bytes = VMPtr<TqCanvas>(canvas)->readRecord(2);
  _VM_clinitCheck();
  bestBytes = bytes;
  resetBest();
  if (!bytes || !readInts(bytes, VMPtr<VMArray<int32_t>>(bestGrades))) save();
}

VMPtr<Bytes> Game::saveFlags(int32_t record, VMPtr<Bytes> flags, int32_t size) {
  VMPtr<Bytes> buffer = startWriting(size);
  const int32_t n = flags->length < size ? flags->length : size;
  for (int32_t i = 0; i < n; ++i) TqCanvas::writeBoolean(flags->at(i));
  VMPtr<TqCanvas>(canvas)->writeRecord(record, buffer);
  return buffer;
}

void Game::saveUnlocks() {
  _VM_clinitCheck();
  VMPtr<Bytes> written = saveFlags(0, VMPtr<Bytes>(unlockFlags), kUnlockBytes);
  unlockBytes = written;
}

void Game::saveProgress() {
  _VM_clinitCheck();
  VMPtr<Bytes> written = saveFlags(1, VMPtr<Bytes>(progressFlags), kProgressBytes);
  progressBytes = written;
}

void Game::save() {
  _VM_clinitCheck();
  VMPtr<VMArray<int32_t>> grades = bestGrades;
  VMPtr<Bytes> buffer = startWriting(kBestBytes);
  const int32_t n = grades->length < kBestCount ? grades->length : kBestCount;
  for (int32_t i = 0; i < n; ++i) TqCanvas::writeInt(grades->at(i));
  VMPtr<TqCanvas>(canvas)->writeRecord(2, buffer);
  bestBytes = buffer;
}

void Game::_VM_markReferences(int colour) {
  _VM_mark(canvas, colour);
  Base::_VM_markReferences(colour);
}

}  // namespace main
