#include "ui_LevelLoader.h"

#include <cstdio>

#include "VMThrow.h"
#include "java_lang_IllegalStateException.h"
#include "java_lang_String.h"
#include "main_Main.h"

VM_REGISTER_CLASS(ui::LevelLoader, "ui.LevelLoader", "java.lang.Object", VM_INSTANTIABLE);

namespace ui {

int32_t LevelLoader::barrierCount;

namespace {

using Ints = LevelLoader::Ints;
using Flags = LevelLoader::Flags;

// Variant widths of the record types that have one.
constexpr int32_t kWideVariant = 4;
constexpr int32_t kNarrowVariant = 2;
constexpr int32_t kTextNumberLength = 2;

VMPtr<Ints> ints(int32_t n) { return Ints::create(n); }
VMPtr<Flags> flags(int32_t n) { return Flags::create(n); }

// Level data the loader cannot take: IllegalStateException, the number in
// the message.
[[noreturn]] void refuse(const char* format, int32_t number) {
  char message[64];
  std::snprintf(message, sizeof message, format, number);
  _VM_throwNew<java::lang::IllegalStateException>(message);
}

}  // namespace

VMPtr<LevelLoader> LevelLoader::_VM_init() {
  Base::_VM_init();
  main::Main::_VM_clinitCheck();
  canvas = main::Main::canvas;
  levelNumber = -1;
  pairA = ints(2);
  pairB = ints(2);
  return VMPtr<LevelLoader>(this);
}

int32_t LevelLoader::bits(int32_t n) { return VMPtr<tq::TqCanvas>(canvas)->levelReadBits(n); }

// A load that throws forgets the number, so that the level is decoded
// again rather than taken as loaded with half-filled arrays.
void LevelLoader::load(int32_t n) {
  if (n == levelNumber) return;
  levelNumber = n;
  reset();
  try {
    VMPtr<tq::TqCanvas>(canvas)->loadLevel(n + kFirstLevelId);
  } catch (java::lang::Throwable* t) {
    levelNumber = -1;
    t->_VM_throw();
  }
}

void LevelLoader::reset() {
  _VM_clinitCheck();
  textCount = 0;
  barrierCount = 0;
  markerCount = 0;
  landscapeGroupSize = 0;
  landscapeBGroupSize = 0;
  itemGroupSize = 0;
}

void LevelLoader::readHeader(int32_t value) {
  pointBY = bits(16);
  pointAY = bits(16);
  _VM_clinitCheck();
  barrierCount = 0;
  scaledCount = 0;
  landscapeCount = 0;
  landscapeBCount = 0;
  itemCount = 0;
  markerCount = 0;
}

void LevelLoader::setProperties(int32_t a, int32_t columns, int32_t signedValue, int32_t d, int32_t e, int32_t f,
                                int32_t count) {
  signedParam = signedValue;
  scaleA = d;
  scaleB = e;
}

void LevelLoader::setSize(int32_t w, int32_t h) {
  width = w;
  height = h;
  cells = ints(w * h);
}

void LevelLoader::setCell(int32_t x, int32_t y, int32_t value) { VMPtr<Ints>(cells)->at(x + width * y) = value; }

// --- Groups ----------------------------------------------------------------

void LevelLoader::checkFirstGroup(int32_t type, int32_t count) {
  if (count != 0) refuse("a second group of level records of type %d", type);
}

void LevelLoader::beginEntityGroup(int32_t type, int32_t n) {
  switch (type) {
    case 0: case 1: case 4: case 7: case 14:
      _VM_clinitCheck();
      checkFirstGroup(type, barrierCount);
      beginBarriers(n);
      break;
    case 2: case 5: case 8:
      checkFirstGroup(type, landscapeCount);
      beginLandscape(n);
      break;
    case 3: case 6:
      checkFirstGroup(type, landscapeBCount);
      beginLandscapeB(n);
      break;
    case 9:
      checkFirstGroup(type, scaledCount);
      beginScaled(n);
      break;
    case 12:
      checkFirstGroup(type, markerCount);
      markerX = ints(n);
      break;
    case 17:
      checkFirstGroup(type, itemCount);
      beginItems(n);
      break;
    default:
      break;
  }
}

void LevelLoader::beginBarriers(int32_t n) {
  barrierGroupSize = n;
  barrierKind = ints(n);
  barrierVariant = ints(n);
  barrierWork = ints(n);
  barrierValue = ints(n);
  barrierX = ints(n);
  barrierY = ints(n);
  barrierFlag = flags(n);
  barrierWorkFlags = VMArray<uint8_t, 2>::createMulti(2, n, kBarrierParams);
  barrierWorkParams = VMArray<int32_t, 2>::createMulti(2, n, kBarrierParams);
  barrierParams = VMArray<int32_t, 2>::createMulti(2, n, kBarrierParams);
}

void LevelLoader::beginLandscape(int32_t n) {
  landscapeGroupSize = n;
  landscapeKind = ints(n);
  landscapeVariant = ints(n);
  landscapeFlag = flags(n);
  landscapeX = ints(n);
  landscapeY = ints(n);
}

void LevelLoader::beginLandscapeB(int32_t n) {
  landscapeBGroupSize = n;
  landscapeBKind = ints(n);
  landscapeBVariant = ints(n);
  landscapeBFlag = flags(n);
  landscapeBX = ints(n);
  landscapeBY = ints(n);
}

void LevelLoader::beginScaled(int32_t n) {
  scaledX = ints(n);
  scaledY = ints(n);
  scaledA = ints(n);
  scaledB = ints(n);
  scaledMode = ints(n);
}

void LevelLoader::beginItems(int32_t n) {
  itemGroupSize = n;
  itemValue = ints(n);
  itemFlag = flags(n);
  itemX = ints(n);
  itemY = ints(n);
}

// --- Records ---------------------------------------------------------------

void LevelLoader::readEntity(int32_t type, int32_t x, int32_t y) {
  switch (type) {
    case 1:
      readBarrier(type, kNarrowVariant, x, y);
      break;
    case 0: case 4: case 7: case 14:
      readBarrier(type, kWideVariant, x, y);
      break;
    case 2:
      readLandscape(type, 3, x, y);
      break;
    case 5:
      readLandscape(type, 6, x, y);
      break;
    case 8:
      readLandscape(type, 5, x, y);
      break;
    case 3: case 6:
      readLandscapeB(type, x, y);
      break;
    case 9:
      readScaled(x, y);
      break;
    case 11:
      levelValue = bits(16);
      break;
    case 12:
      VMPtr<Ints>(markerX)->at(markerCount) = x;
      ++markerCount;
      break;
    case 13:
      readTextList();
      break;
    case 15:
      readPoint(x, y);
      break;
    case 17:
      readItem(x, y);
      break;
    default:
      break;
  }
}

// The variant, then the tail: value 16, flag 1, five parameters of 16.
void LevelLoader::readBarrier(int32_t type, int32_t variantBits, int32_t x, int32_t y) {
  _VM_clinitCheck();
  const int32_t i = barrierCount;
  VMPtr<Ints>(barrierKind)->at(i) = type;
  VMPtr<Ints>(barrierVariant)->at(i) = bits(variantBits);
  VMPtr<Ints>(barrierValue)->at(i) = bits(16);
  VMPtr<Flags>(barrierFlag)->at(i) = bits(1) == 1;
  VMPtr<Ints>(barrierX)->at(i) = x;
  VMPtr<Ints>(barrierY)->at(i) = y;
  VMPtr<Ints> params = VMPtr<VMArray<int32_t, 2>>(barrierParams)->get(i);
  for (int32_t k = 0; k < kBarrierParams; ++k) params->at(k) = bits(16);
  barrierCount = i + 1;
}

void LevelLoader::readLandscape(int32_t type, int32_t variantBits, int32_t x, int32_t y) {
  const int32_t i = landscapeCount;
  VMPtr<Ints>(landscapeKind)->at(i) = type;
  VMPtr<Ints>(landscapeVariant)->at(i) = bits(variantBits);
  VMPtr<Flags>(landscapeFlag)->at(i) = bits(1) == 1;
  VMPtr<Ints>(landscapeX)->at(i) = x;
  VMPtr<Ints>(landscapeY)->at(i) = y;
  landscapeCount = i + 1;
}

void LevelLoader::readLandscapeB(int32_t type, int32_t x, int32_t y) {
  const int32_t i = landscapeBCount;
  VMPtr<Ints>(landscapeBKind)->at(i) = type;
  VMPtr<Ints>(landscapeBVariant)->at(i) = bits(3);
  VMPtr<Flags>(landscapeBFlag)->at(i) = bits(1) == 1;
  VMPtr<Ints>(landscapeBX)->at(i) = x;
  VMPtr<Ints>(landscapeBY)->at(i) = y;
  landscapeBCount = i + 1;
}

// A rectangle of a cells by b cells; mode 2 (deadly) is always 3 pixels
// high per b.
void LevelLoader::readScaled(int32_t x, int32_t y) {
  const int32_t i = scaledCount;
  const int32_t a = bits(16);
  const int32_t b = bits(16);
  const int32_t mode = bits(16);
  VMPtr<Ints>(scaledX)->at(i) = x;
  VMPtr<Ints>(scaledY)->at(i) = y;
  VMPtr<Ints>(scaledA)->at(i) = a * scaleA;
  VMPtr<Ints>(scaledMode)->at(i) = mode;
  VMPtr<Ints>(scaledB)->at(i) = mode == 2 ? b * 3 : b * scaleB;
  scaledCount = i + 1;
}

// Count, then the first text id (a dropped value when the count is 0).
// Each listed text's first two characters, read as a decimal number (0
// when they are not one), give its number.
void LevelLoader::readTextList() {
  const int32_t count = bits(16);
  textCount = count;
  const int32_t first = bits(16);
  if (count <= 0) return;
  textNumbers = ints(count);
  textIds = ints(count);
  VMPtr<Ints> ids = textIds;
  VMPtr<Ints> numbers = textNumbers;
  main::Main::_VM_clinitCheck();
  VMPtr<tq::util::text::Translation> table = main::Main::translation;
  for (int32_t i = 0; i < count; ++i) {
    ids->at(i) = i == 0 ? first : ids->at(i - 1) + 1;
    if (ids->at(i) >= table->count) refuse("text id %d is not in the text table", ids->at(i));
    VMPtr<java::lang::String> text = table->getString(ids->at(i));
    numbers->at(i) = tq::TqCanvas::parseInt(text->substring(0, kTextNumberLength), 0);
  }
}

void LevelLoader::readPoint(int32_t x, int32_t y) {
  const bool second = bits(1) == 1;
  bits(1);
  if (second) {
    pointBX = x;
    pointBY = y;
  } else {
    pointAX = x;
    pointAY = y;
  }
}

void LevelLoader::readItem(int32_t x, int32_t y) {
  const int32_t i = itemCount;
  VMPtr<Ints>(itemValue)->at(i) = bits(2);
  VMPtr<Flags>(itemFlag)->at(i) = bits(1) == 1;
  VMPtr<Ints>(itemX)->at(i) = x;
  VMPtr<Ints>(itemY)->at(i) = y;
  itemCount = i + 1;
}

void LevelLoader::_VM_markReferences(int colour) {
  _VM_mark(canvas, colour);
  _VM_mark(cells, colour);
  _VM_mark(pairA, colour);
  _VM_mark(pairB, colour);
  _VM_mark(barrierKind, colour);
  _VM_mark(barrierVariant, colour);
  _VM_mark(barrierValue, colour);
  _VM_mark(barrierFlag, colour);
  _VM_mark(barrierX, colour);
  _VM_mark(barrierY, colour);
  _VM_mark(barrierParams, colour);
  _VM_mark(barrierWork, colour);
  _VM_mark(barrierWorkFlags, colour);
  _VM_mark(barrierWorkParams, colour);
  _VM_mark(landscapeKind, colour);
  _VM_mark(landscapeVariant, colour);
  _VM_mark(landscapeFlag, colour);
  _VM_mark(landscapeX, colour);
  _VM_mark(landscapeY, colour);
  _VM_mark(landscapeBKind, colour);
  _VM_mark(landscapeBVariant, colour);
  _VM_mark(landscapeBFlag, colour);
  _VM_mark(landscapeBX, colour);
  _VM_mark(landscapeBY, colour);
  _VM_mark(scaledX, colour);
  _VM_mark(scaledY, colour);
  _VM_mark(scaledA, colour);
  _VM_mark(scaledB, colour);
  _VM_mark(scaledMode, colour);
  _VM_mark(markerX, colour);
  _VM_mark(textIds, colour);
  _VM_mark(textNumbers, colour);
  _VM_mark(itemValue, colour);
  _VM_mark(itemFlag, colour);
  _VM_mark(itemX, colour);
  _VM_mark(itemY, colour);
  Base::_VM_markReferences(colour);
}

}  // namespace ui
