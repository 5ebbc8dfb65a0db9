// The canvas's sprite data tables: the loader of sprite resources into
// rows of nine parallel tables, the keep marks and the release of unmarked
// rows, and the handle table.

#include <vector>

#include "VMThrow.h"
#include "java_io_EOFException.h"
#include "java_lang_Exception.h"
#include "java_lang_IllegalArgumentException.h"
#include "tq_Resources.h"
#include "tq_TqCanvas.h"

namespace tq {

namespace {

constexpr int32_t kIdMask = 0x7FFF;
constexpr int32_t kKeep = 0x8000;

template <class T>
using Rows = VMArray<T, 2>;

}  // namespace

// The rows of one sprite resource, read whole before any table grows.
struct TqCanvas::SpriteRows {
  VMPtr<VMArray<int32_t>> animHeaders;
  VMPtr<VMArray<int8_t>> animFrameBytes;
  VMPtr<VMArray<int32_t>> animFrameWords;
  VMPtr<VMArray<int16_t>> frameRectStarts;
  VMPtr<VMArray<int32_t>> frameHeaders;
  VMPtr<VMArray<int32_t>> framePieces;
  VMPtr<VMArray<int32_t>> rectWords;
  VMPtr<VMArray<int16_t>> rectShorts;
  VMPtr<VMArray<int16_t>> frameDurations;
};

namespace {

// A table of `count` entries, each read from at least one byte: a count
// that the stream cannot hold ends the load before anything is allocated.
template <class T>
VMPtr<VMArray<T>> entries(VMPtr<java::io::DataInputStream> in, int32_t count) {
  if (count > in->available()) _VM_throwNew<java::io::EOFException>();
  return VMArray<T>::create(count);
}

// `table` with `row` appended (a null table counts as empty).
template <class T>
VMPtr<Rows<T>> appendRow(VMPtr<Rows<T>> table, VMPtr<VMArray<T>> row) {
  const int32_t n = table ? table->length : 0;
  VMPtr<Rows<T>> out = Rows<T>::create(n + 1);
  for (int32_t i = 0; i < n; ++i) out->set(i, table->get(i));
  out->set(n, row);
  return out;
}

// The rows of `table` whose index is in `keep`, in that order.
template <class T>
VMPtr<Rows<T>> keepRows(VMPtr<Rows<T>> table, const std::vector<int32_t>& keep) {
  VMPtr<Rows<T>> out = Rows<T>::create(static_cast<int32_t>(keep.size()));
  for (size_t i = 0; i < keep.size(); ++i) out->set(static_cast<int32_t>(i), table->get(keep[i]));
  return out;
}

}  // namespace

int32_t TqCanvas::readCount() {
  VMPtr<java::io::DataInputStream> in = spriteStream;
  const int32_t v = in->read();
  return v == 255 ? in->readChar() : v;
}

int32_t TqCanvas::readSigned() {
  VMPtr<java::io::DataInputStream> in = spriteStream;
  const int32_t v = in->readByte();
  return v == -128 ? in->readShort() : v;
}

int32_t TqCanvas::readRunTable(VMPtr<VMArray<int32_t>> table) {
  int32_t sum = 0;
  for (int32_t i = 0; i < table->length; ++i) {
    const int32_t v = readCount();
    table->at(i) = v | static_cast<int32_t>(static_cast<uint32_t>(sum) << 16);
    sum += v;
  }
  return sum;
}

void TqCanvas::readPackedTriples(VMPtr<VMArray<int32_t>> table) {
  for (int32_t i = 0; i < table->length; ++i) table->at(i) |= static_cast<int32_t>(static_cast<uint32_t>(readCount()) << 22);
  for (int32_t i = 0; i < table->length; ++i) table->at(i) |= (readSigned() & 0x3FF) << 12;
  for (int32_t i = 0; i < table->length; ++i) table->at(i) |= (readSigned() & 0x3FF) << 2;
}

int32_t TqCanvas::indexOfSprite(int32_t resourceId) {
  VMPtr<VMArray<int16_t>> ids = spriteIds;
  if (!ids) return -1;
  for (int32_t i = 0; i < ids->length; ++i) {
    if ((ids->at(i) & kIdMask) == resourceId) return i;
  }
  return -1;
}

void TqCanvas::loadSprite(int32_t resourceId) {
  if (resourceId < 0 || resourceId > kIdMask) {
    _VM_throwNew<java::lang::IllegalArgumentException>("sprite id outside 0..32767");
  }
  if (indexOfSprite(resourceId) >= 0) return;
  SpriteRows rows;
  try {
    spriteStream = Resources::getStream(resourceId);
    readSpriteRows(rows);
  } catch (java::lang::Exception* e) {
    VMPtr<java::lang::Exception> dropped(e);
    spriteStream = nullptr;
    return;
  }
  spriteStream = nullptr;
  appendSpriteRows(resourceId, rows);
}

void TqCanvas::readSpriteRows(SpriteRows& rows) {
  VMPtr<java::io::DataInputStream> in = spriteStream;
  in->read();  // unused
  // Animations and their animation frames.
  rows.animHeaders = entries<int32_t>(in, in->readChar());
  const int32_t frameSteps = readRunTable(rows.animHeaders);
  for (int32_t i = 0; i < rows.animHeaders->length; ++i) rows.animHeaders->at(i) |= (readSigned() & 63) << 10;
  rows.animFrameBytes = entries<int8_t>(in, frameSteps);
  rows.animFrameWords = entries<int32_t>(in, frameSteps);
  for (int32_t i = 0; i < frameSteps; ++i) {
    const int32_t v = readCount();
    rows.animFrameBytes->at(i) = static_cast<int8_t>(v & 255);
    rows.animFrameWords->at(i) = v >> 8;
  }
  readPackedTriples(rows.animFrameWords);
  // Frames and their pieces.
  const int32_t frames = in->readChar();
  rows.frameRectStarts = entries<int16_t>(in, frames);
  rows.frameHeaders = entries<int32_t>(in, frames);
  const int32_t pieces = readRunTable(rows.frameHeaders);
  rows.framePieces = entries<int32_t>(in, pieces);
  int32_t transforms = 0;
  for (int32_t i = 0; i < pieces; ++i) {
    if (i % 4 == 0) transforms = readCount();
    rows.framePieces->at(i) = (transforms >> (6 - 2 * (i % 4))) & 3;
  }
  readPackedTriples(rows.framePieces);
  readRectangles(rows);
  rows.frameDurations = entries<int16_t>(in, in->readChar());
  for (int32_t i = 0; i < rows.frameDurations->length; ++i) rows.frameDurations->at(i) = static_cast<int16_t>(readCount());
}

void TqCanvas::readRectangles(SpriteRows& rows) {
  VMPtr<java::io::DataInputStream> in = spriteStream;
  int32_t total = 0;
  for (int32_t f = 0; f < rows.frameHeaders->length; ++f) {
    const int32_t c = readCount();
    rows.frameHeaders->at(f) |= c << 8;
    rows.frameRectStarts->at(f) = static_cast<int16_t>(total);
    total += c;
  }
  rows.rectWords = entries<int32_t>(in, total);
  rows.rectShorts = entries<int16_t>(in, total);
  VMArray<int32_t>* words = rows.rectWords.get();
  VMArray<int16_t>* shorts = rows.rectShorts.get();
  for (int32_t i = 0; i < total; ++i) words->at(i) = static_cast<int32_t>(static_cast<uint32_t>(readSigned()) << 21);
  for (int32_t i = 0; i < total; ++i) words->at(i) |= (readSigned() & 2047) << 10;
  for (int32_t i = 0; i < total; ++i) words->at(i) |= readCount();
  for (int32_t i = 0; i < total; ++i) shorts->at(i) = static_cast<int16_t>(readCount() << 6);
  for (int32_t i = 0; i < total; ++i) shorts->at(i) = static_cast<int16_t>(shorts->at(i) | readCount());
}

void TqCanvas::appendSpriteRows(int32_t resourceId, SpriteRows& rows) {
  VMPtr<VMArray<int16_t>> ids = spriteIds;
  const int32_t n = ids ? ids->length : 0;
  VMPtr<VMArray<int16_t>> grown = VMArray<int16_t>::create(n + 1);
  for (int32_t i = 0; i < n; ++i) grown->at(i) = ids->at(i);
  grown->at(n) = static_cast<int16_t>(resourceId);
  animHeaders = appendRow<int32_t>(animHeaders, rows.animHeaders);
  animFrameBytes = appendRow<int8_t>(animFrameBytes, rows.animFrameBytes);
  animFrameWords = appendRow<int32_t>(animFrameWords, rows.animFrameWords);
  frameRectStarts = appendRow<int16_t>(frameRectStarts, rows.frameRectStarts);
  frameHeaders = appendRow<int32_t>(frameHeaders, rows.frameHeaders);
  framePieces = appendRow<int32_t>(framePieces, rows.framePieces);
  rectWords = appendRow<int32_t>(rectWords, rows.rectWords);
  rectShorts = appendRow<int16_t>(rectShorts, rows.rectShorts);
  frameDurations = appendRow<int16_t>(frameDurations, rows.frameDurations);
  spriteIds = grown;  // last: the row exists once every table has it
}

void TqCanvas::setSpriteKept(int32_t resourceId, uint8_t keep) {
  const int32_t row = indexOfSprite(resourceId);
  if (row < 0) return;  // not loaded: nothing to mark
  VMPtr<VMArray<int16_t>> ids = spriteIds;
  const int32_t id = ids->at(row) & kIdMask;
  ids->at(row) = static_cast<int16_t>(keep ? id | kKeep : id);
}

void TqCanvas::releaseSprites() {
  VMPtr<VMArray<int16_t>> ids = spriteIds;
  std::vector<int32_t> keep;
  for (int32_t i = 0; ids && i < ids->length; ++i) {
    if (ids->at(i) & kKeep) keep.push_back(i);
  }
  if (keep.empty()) {
    clearSpriteTables();
    return;
  }
  VMPtr<VMArray<int16_t>> kept = VMArray<int16_t>::create(static_cast<int32_t>(keep.size()));
  for (size_t i = 0; i < keep.size(); ++i) kept->at(static_cast<int32_t>(i)) = ids->at(keep[i]);
  animHeaders = keepRows<int32_t>(animHeaders, keep);
  animFrameBytes = keepRows<int8_t>(animFrameBytes, keep);
  animFrameWords = keepRows<int32_t>(animFrameWords, keep);
  frameRectStarts = keepRows<int16_t>(frameRectStarts, keep);
  frameHeaders = keepRows<int32_t>(frameHeaders, keep);
  framePieces = keepRows<int32_t>(framePieces, keep);
  rectWords = keepRows<int32_t>(rectWords, keep);
  rectShorts = keepRows<int16_t>(rectShorts, keep);
  frameDurations = keepRows<int16_t>(frameDurations, keep);
  spriteIds = kept;
}

void TqCanvas::clearSpriteTables() {
  spriteIds = nullptr;
  animHeaders = nullptr;
  animFrameBytes = nullptr;
  animFrameWords = nullptr;
  frameRectStarts = nullptr;
  frameHeaders = nullptr;
  framePieces = nullptr;
  rectWords = nullptr;
  rectShorts = nullptr;
  frameDurations = nullptr;
  spriteInstances = nullptr;
}

int32_t TqCanvas::getFrameCount(int32_t resourceId) {
  const int32_t row = indexOfSprite(resourceId);
  if (row < 0) _VM_throwArrayIndexOutOfBounds(row);
  VMPtr<Rows<int32_t>> headers = frameHeaders;
  return headers->get(row)->length;
}

int32_t TqCanvas::addHandle(int32_t value) {
  VMPtr<VMArray<int32_t>> old = handleValues;
  const int32_t n = old ? old->length : 0;
  VMPtr<VMArray<int32_t>> grown = VMArray<int32_t>::create(n + 1);
  for (int32_t i = 0; i < n; ++i) grown->at(i) = old->at(i);
  grown->at(n) = value;
  handleValues = grown;
  return -(n + 1);
}

void TqCanvas::setHandle(int32_t handle, int32_t value) {
  VMPtr<VMArray<int32_t>> values = handleValues;
  if (!values) _VM_throwNullPointerException();
  values->at(-handle - 1) = value;
}

}  // namespace tq
