// The animation-set reader: records in a fixed order, no header, each
// table built from compact integers into its packed fields.
#include <algorithm>

#include "VMThrow.h"
#include "java_io_IOException.h"
#include "java_lang_Exception.h"
#include "tq_AnimSet.h"
#include "tq_Resources.h"

namespace tq {

namespace {

using Stream = AnimSet::Stream;
using Ints = AnimSet::Ints;
using Chars = AnimSet::Chars;

// A value that would spill out of its packed field: the load ends here.
[[noreturn]] void malformed() { _VM_throwNew<java::io::IOException>("malformed animation set"); }

int32_t inRange(int32_t v, int32_t lo, int32_t hi) {
  if (v < lo || v > hi) malformed();
  return v;
}

// U: a byte 0-254, or 255 and an unsigned 16-bit value; -1 at the end of
// the data (which no field accepts).
int32_t readU(Stream* in) {
  const int32_t b = in->read();
  return b == 255 ? in->readChar() : b;
}

// S: a signed byte, or -128 and a signed 16-bit value.
int32_t readS(Stream* in) {
  const int32_t b = in->readByte();
  return b == -128 ? in->readShort() : b;
}

// n counts of at most `maxCount`, each entry the count OR its running start
// << 16; the total.
int32_t buildIndex(Stream* in, Ints* table, int32_t maxCount) {
  int32_t start = 0;
  for (int32_t i = 0; i < table->length; ++i) {
    const int32_t count = inRange(readU(in), 0, maxCount);
    if (start > 0xFFFF) malformed();
    table->at(i) = count | start << 16;
    start += count;
  }
  return start;
}

// Three passes: a 10-bit index into bits 22-31, then two signed 10-bit
// values into bits 12-21 and 2-11.
void buildTriple(Stream* in, Ints* table) {
  const int32_t n = table->length;
  for (int32_t i = 0; i < n; ++i) table->at(i) |= inRange(readU(in), 0, 0x3FF) << 22;
  for (int32_t i = 0; i < n; ++i) table->at(i) |= (inRange(readS(in), -512, 511) & 0x3FF) << 12;
  for (int32_t i = 0; i < n; ++i) table->at(i) |= (inRange(readS(in), -512, 511) & 0x3FF) << 2;
}

}  // namespace

VMPtr<AnimSet> AnimSet::load(int32_t id) { return load(id, Resources::getStream(id)); }

VMPtr<AnimSet> AnimSet::load(int32_t id, VMPtr<Stream> in) {
  VMPtr<AnimSet> set = _VM_new();
  set->_VM_init();
  set->id = id;
  _VM_clinitCheck();
  stream = in;
  try {
    set->read();
  } catch (java::lang::Exception* e) {
    VMPtr<java::lang::Exception> ended(e);  // a cut or malformed file keeps what was read
  } catch (java::lang::Throwable* thrown) {
    stream = nullptr;
    thrown->_VM_throw();
  }
  stream = nullptr;
  return set;
}

void AnimSet::read() {
  VMPtr<Stream> in = stream;
  in->read();  // unused
  // Animations: step counts, then loop counts.
  VMPtr<Ints> anims = Ints::create(in->readChar());
  animations = anims;
  durationCache = Ints::create(anims->length);
  const int32_t stepTotal = buildIndex(in.get(), anims.get(), 0x3FF);
  for (int32_t i = 0; i < anims->length; ++i) anims->at(i) |= (inRange(readS(in.get()), -32, 31) & 0x3F) << 10;
  // Steps: step byte and blend flags, then frame, dx, dy.
  VMPtr<VMArray<int8_t>> bytes = VMArray<int8_t>::create(stepTotal);
  stepBytes = bytes;
  VMPtr<Ints> stepTable = Ints::create(stepTotal);
  steps = stepTable;
  for (int32_t i = 0; i < stepTotal; ++i) {
    const int32_t v = inRange(readU(in.get()), 0, 0x3FF);
    bytes->at(i) = static_cast<int8_t>(v);
    stepTable->at(i) = v >> 8;
  }
  buildTriple(in.get(), stepTable.get());
  // Frames: part counts, part flags and parts.
  const int32_t frameCount = in->readChar();
  VMPtr<Chars> boxStarts = Chars::create(frameCount);
  frameBoxStart = boxStarts;
  VMPtr<Ints> frameTable = Ints::create(frameCount);
  frames = frameTable;
  const int32_t partTotal = buildIndex(in.get(), frameTable.get(), 0xFF);
  VMPtr<Ints> partTable = Ints::create(partTotal);
  parts = partTable;
  for (int32_t i = 0, flags = 0; i < partTotal; ++i) {
    if (i % 4 == 0) flags = inRange(readU(in.get()), 0, 0xFF);
    partTable->at(i) = flags >> (6 - 2 * (i % 4)) & 3;
  }
  buildTriple(in.get(), partTable.get());
  // Box counts, then the boxes in five passes.
  int32_t boxTotal = 0;
  for (int32_t i = 0; i < frameCount; ++i) {
    const int32_t count = inRange(readU(in.get()), 0, 0xFF);
    if (boxTotal > 0xFFFF) malformed();
    frameTable->at(i) |= count << 8;
    boxStarts->at(i) = static_cast<char16_t>(boxTotal);
    boxTotal += count;
  }
  VMPtr<Ints> words = Ints::create(boxTotal);
  boxes = words;
  VMPtr<Chars> extras = Chars::create(boxTotal);
  boxExtras = extras;
  for (int32_t i = 0; i < boxTotal; ++i) words->at(i) = inRange(readS(in.get()), -1024, 1023) << 21;
  for (int32_t i = 0; i < boxTotal; ++i) words->at(i) |= (inRange(readS(in.get()), -1024, 1023) & 0x7FF) << 10;
  for (int32_t i = 0; i < boxTotal; ++i) words->at(i) |= inRange(readU(in.get()), 0, 0x3FF);
  for (int32_t i = 0; i < boxTotal; ++i) extras->at(i) = static_cast<char16_t>(inRange(readU(in.get()), 0, 0x3FF) << 6);
  for (int32_t i = 0; i < boxTotal; ++i) extras->at(i) |= static_cast<char16_t>(inRange(readU(in.get()), 0, 0x3F));
  // Durations; 0 loads as 1.
  VMPtr<Chars> lengths = Chars::create(in->readChar());
  durations = lengths;
  for (int32_t i = 0; i < lengths->length; ++i) {
    lengths->at(i) = static_cast<char16_t>(std::max(1, inRange(readU(in.get()), 0, 0xFFFF)));
  }
}

}  // namespace tq
