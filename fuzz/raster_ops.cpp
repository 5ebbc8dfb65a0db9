// Fuzz target: drawing operations with arbitrary arguments. The bytes are a
// program: each operation is a byte choosing it and its int arguments, each
// either a small signed value (one byte) or any 32-bit value (a marker byte
// and four bytes), so coordinates near the int range come up often. Before
// each operation the clip is set from the program too. Whatever the
// arguments, every operation must end, touch no memory outside the target
// (AddressSanitizer watches the heap) and change no pixel outside the clip.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "RasterContext.h"
#include "RasterImage.h"
#include "RasterSurface.h"

namespace {

constexpr int32_t kW = 37;
constexpr int32_t kH = 23;

class Program {
 public:
  Program(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool done() const { return at_ >= size_; }
  uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
  int32_t value() {
    const uint8_t b = byte();
    if ((b & 0x80) == 0) return static_cast<int8_t>(static_cast<uint8_t>(b << 1)) >> 1;
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = (v << 8) | byte();
    return static_cast<int32_t>(v);
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
};

void check(bool condition) {
  if (!condition) std::abort();
}

RasterSurface* source(int32_t type) {
  RasterSurface* s = RasterSurface::create(5, 4, type);
  for (int32_t y = 0; y < 4; ++y) {
    for (int32_t x = 0; x < 5; ++x) {
      *s->pixelAddress(x, y) = (x + y) % 3 == 0 ? RasterSurface::kKeyColour
                                                : static_cast<uint16_t>(x * 4099 + y * 77);
      if (type == RasterSurface::kAlphaPlane) *s->alphaAddress(x, y) = static_cast<uint8_t>(x * 60 + y);
    }
  }
  return s;
}

void run(RasterContext* g, RasterSurface* const* sources, Program& p) {
  const int32_t v[7] = {p.value(), p.value(), p.value(), p.value(), p.value(), p.value(), p.value()};
  static const int32_t argb[12] = {-1, 0, 0x7F00FF00, 0x0700FFFF, -2, 5, 6, 7, 8, 9, 10, 11};
  switch (p.byte() % 15) {
    case 0: g->setColour(static_cast<uint32_t>(v[0])); break;
    case 1: g->setStrokeStyle(v[0] & 1); break;
    case 2: g->fillRect(v[0], v[1], v[2], v[3]); break;
    case 3: g->drawRect(v[0], v[1], v[2], v[3]); break;
    case 4: g->drawLine(v[0], v[1], v[2], v[3]); break;
    case 5: g->fillTriangle(v[0], v[1], v[2], v[3], v[4], v[5]); break;
    case 6: g->drawArc(v[0], v[1], v[2], v[3], v[4], v[5]); break;
    case 7: g->fillArc(v[0], v[1], v[2], v[3], v[4], v[5]); break;
    case 8: g->drawRoundRect(v[0], v[1], v[2], v[3], v[4], v[5]); break;
    case 9: g->fillRoundRect(v[0], v[1], v[2], v[3], v[4], v[5]); break;
    case 10: g->blit(v[0], v[1], v[2], v[3], sources[static_cast<uint32_t>(v[6]) % 3], v[4], v[5], v[6]); break;
    case 11: g->copyArea(v[0], v[1], v[2], v[3], v[4], v[5]); break;
    case 12: g->drawRGB(argb, 12, v[0], v[1], v[2], v[3], v[4], v[5], (v[6] & 1) != 0); break;
    case 13: g->gradient(v[0], v[1], v[2], v[3], static_cast<uint32_t>(v[4]), static_cast<uint32_t>(v[5]), (v[6] & 1) != 0); break;
    default: g->drawImage(nullptr, v[0], v[1]); break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  RasterImage* image = RasterImage::create(RasterSurface::createOpaque(kW, kH));
  RasterContext* g = RasterContext::create(image);
  RasterSurface* sources[3] = {source(1), source(2), source(3)};
  RasterSurface* target = image->surface;
  std::vector<uint16_t> before(static_cast<size_t>(kW) * kH);
  Program p(data, size);
  for (int ops = 0; !p.done() && ops < 64; ++ops) {
    g->setClip(p.value(), p.value(), p.value(), p.value());
    std::memcpy(before.data(), target->pixels, before.size() * 2);
    run(g, sources, p);
    for (int32_t y = 0; y < kH; ++y) {
      for (int32_t x = 0; x < kW; ++x) {
        if (!g->clip.contains(x, y)) check(*target->pixelAddress(x, y) == before[static_cast<size_t>(y) * kW + x]);
      }
    }
  }
  for (RasterSurface* s : sources) delete s;
  delete g;
  image->release();
  return 0;
}
