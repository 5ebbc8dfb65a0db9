// The BMP export of Resources: an image resource re-encoded as an
// uncompressed 8-bit Windows bitmap, written little-endian through the
// canvas's write buffer.

#include "tq_Resources.h"
#include "tq_TqCanvas.h"

namespace tq {

namespace {

constexpr int32_t kColours = 256;
constexpr int32_t kHeaderBytes = 54;  // file header 14, information header 40
constexpr int32_t kTableBytes = 4 * kColours;

void writeBitmapHeaders(int32_t width, int32_t height, int32_t pixelBytes) {
  TqCanvas::writeShortLE(0x4D42);  // "BM"
  TqCanvas::writeIntLE(pixelBytes + kTableBytes + kHeaderBytes);
  TqCanvas::writeIntLE(0);
  TqCanvas::writeIntLE(kTableBytes + kHeaderBytes);
  TqCanvas::writeIntLE(40);
  TqCanvas::writeIntLE(width);
  TqCanvas::writeIntLE(height);  // positive: rows bottom-up
  TqCanvas::writeShortLE(1);
  TqCanvas::writeShortLE(8);
  TqCanvas::writeIntLE(0);
  TqCanvas::writeIntLE(pixelBytes);
  TqCanvas::writeIntLE(0);
  TqCanvas::writeIntLE(0);
  TqCanvas::writeIntLE(kColours);
  TqCanvas::writeIntLE(kColours);
}

void writeBitmapRows(VMPtr<VMArray<int8_t>> indices, int32_t width, int32_t height, int32_t pad) {
  for (int32_t y = height - 1; y >= 0; --y) {
    for (int32_t x = 0; x < width; ++x) TqCanvas::writeByte(indices->at(y * width + x));
    for (int32_t i = 0; i < pad; ++i) TqCanvas::writeByte(0);
  }
}

}  // namespace

VMPtr<Resources::Bytes> Resources::getBitmap(int32_t id) {
  VMPtr<Image> image = getImage(id);
  const int32_t width = image->getWidth();
  const int32_t height = image->getHeight();
  VMPtr<VMArray<int32_t>> palette = VMArray<int32_t>::create(kColours);
  VMPtr<Bytes> indices = TqCanvas::toIndexedPixels(image, palette);
  const int32_t pad = (4 - width % 4) % 4;
  // Image sides are at most 32767, so these sums fit an int.
  const int32_t pixelBytes = (width + pad) * height;
  VMPtr<Bytes> file = Bytes::create(pixelBytes + kTableBytes + kHeaderBytes);
  TqCanvas::writeInto(file, [&] {
    writeBitmapHeaders(width, height, pixelBytes);
    for (int32_t i = 0; i < kColours; ++i) TqCanvas::writeIntLE(palette->at(i) | static_cast<int32_t>(0xFF000000));
    writeBitmapRows(indices, width, height, pad);
  });
  return file;
}

}  // namespace tq
