// Static algorithms on numbers, int arrays and pixels, and the view
// accessors.
#include <cstdint>

#include "VMJava.h"
#include "java_lang_String.h"
#include "tq_TqCanvas.h"

namespace tq {

uint8_t TqCanvas::rectanglesOverlap(int32_t x1, int32_t y1, int32_t w1, int32_t h1, int32_t x2, int32_t y2,
                                    int32_t w2, int32_t h2) {
  if (x1 >= x2 + w2 || x2 >= x1 + w1 || y1 >= y2 + h2) return 0;
  return y2 < y1 + h1;
}

void TqCanvas::sortInts(VMPtr<VMArray<int32_t>> a, int32_t n) {
  int32_t gap = n;
  bool swapped;
  do {
    if (gap != 1) gap = static_cast<int32_t>((int64_t{gap} * 197) >> 8);
    swapped = false;
    for (int32_t i = n - 1 - gap; i >= 0; --i) {
      int32_t& left = a->at(i);
      int32_t& right = a->at(i + gap);
      if (left > right) {
        std::swap(left, right);
        swapped = true;
      }
    }
  } while (swapped || gap > 1);
}

int32_t TqCanvas::binarySearch(VMPtr<VMArray<int32_t>> a, int32_t last, int32_t key) {
  if (last < 0) return last + 1;
  int32_t lo = 0;
  int32_t hi = last;
  while (lo <= hi) {
    const int32_t mid = _VM_ushr(lo + hi, 1);
    const int32_t v = a->at(mid);
    if (v < key) {
      lo = mid + 1;
    } else if (v > key) {
      hi = mid - 1;
    } else {
      return mid;
    }
  }
  return lo;
}

// Digits below 65536 come from a multiply by 52429 and a shift of 19
// (exactly value / 10 there), which needs 64 bits from 40960 on.
void TqCanvas::insertNumber(VMPtr<java::lang::StringBuffer> sb, int32_t value, int32_t minDigits, int32_t pos) {
  int64_t magnitude = value;
  if (value < 0) {
    sb->insert(pos, u'-');
    ++pos;
    magnitude = -magnitude;
  }
  if (magnitude >= 65536) {
    sb->insert(pos, java::lang::String::valueOf(magnitude));
    return;
  }
  do {
    const int64_t q = (magnitude * 52429) >> 19;
    sb->insert(pos, static_cast<char16_t>(u'0' + (magnitude - 10 * q)));
    magnitude = q;
    --minDigits;
  } while (magnitude != 0);
  for (; minDigits > 0; --minDigits) sb->insert(pos, u'0');
}

uint8_t TqCanvas::hasTransparency(VMPtr<VMArray<int32_t>> argb) {
  for (int32_t i = argb->length - 1; i >= 0; --i) {
    if (_VM_ushr(argb->at(i), 28) != 0xF) return 1;
  }
  return 0;
}

int32_t TqCanvas::classifyAlpha(VMPtr<VMArray<int32_t>> argb, int32_t offset, int32_t scanlength, int32_t x,
                                int32_t y, int32_t w, int32_t h) {
  int32_t kind = 1;
  const int32_t start = offset + y * scanlength + x;
  for (int32_t row = 0; row < h; ++row) {
    for (int32_t column = 0; column < w; ++column) {
      const int32_t alpha = _VM_ushr(argb->at(start + row * scanlength + column), 28);
      if (alpha != 0 && alpha != 0xF) return 3;
      if (alpha == 0) kind = 2;
    }
  }
  return kind;
}

int32_t TqCanvas::transformX(int32_t x, int32_t y, int32_t w, int32_t h, int32_t transform) {
  if (transform & 4) return (transform & 1) ? -(y + h) : y;
  return (transform & 2) ? -(x + w) : x;
}

int32_t TqCanvas::transformY(int32_t x, int32_t y, int32_t w, int32_t h, int32_t transform) {
  if (transform & 4) return (transform & 2) ? -(x + w) : x;
  return (transform & 1) ? -(y + h) : y;
}

void TqCanvas::fillTriangle(VMPtr<Graphics> g, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3,
                            int32_t y3) {
  g->fillTriangle(x1, y1, x2, y2, x3, y3);
}

void TqCanvas::setViewOrigin(int32_t x, int32_t y) {
  viewX = x;
  viewY = y;
  updateInputArea();
}

void TqCanvas::setViewX(int32_t x) {
  viewX = x;
  updateInputArea();
}

void TqCanvas::setViewY(int32_t y) {
  viewY = y;
  updateInputArea();
}

void TqCanvas::setViewWidth(int32_t w) {
  viewWidth = w;
  updateInputArea();
}

void TqCanvas::setViewHeight(int32_t h) {
  viewHeight = h;
  updateInputArea();
}

void TqCanvas::setClipInView(VMPtr<Graphics> g, int32_t x, int32_t y, int32_t w, int32_t h) {
  if (viewX != 0 || viewY != 0) {
    if (x < 0) {
      w += x;
      x = 0;
    }
    if (y < 0) {
      h += y;
      y = 0;
    }
    if (x + w > viewWidth) w = viewWidth - x;
    if (y + h > viewHeight) h = viewHeight - y;
  }
  g->setClip(x, y, w, h);
}

}  // namespace tq
