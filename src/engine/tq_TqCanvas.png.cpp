// The in-memory PNG writer: an 8-bit palette PNG whose image data are
// stored (uncompressed) deflate blocks, written in one pass into an array of
// its exact size through the static write buffer, with the checksums taken
// over the bytes already in place. Also the palette and bitmap shortcuts
// of the canvas.

#include <algorithm>
#include <array>
#include <cstring>

#include "VMThrow.h"
#include "java_lang_IllegalArgumentException.h"
#include "tq_Resources.h"
#include "tq_TqCanvas.h"

namespace tq {

namespace {

using Bytes = VMArray<int8_t>;

constexpr int32_t kMaxStored = 32768;  // data bytes of one stored block, at most
constexpr int32_t kAdlerBase = 65521;
constexpr int32_t kAdlerRun = 3800;  // bytes summed before s1 and s2 are reduced

// The standard CRC-32 table (reflected polynomial EDB88320), built once.
const uint32_t* crcTable() {
  static const auto table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  return table.data();
}

// b[off .. off + len) must lie inside b.
const int8_t* checkedSlice(VMPtr<Bytes> b, int32_t off, int32_t len) {
  if (!b) _VM_throwNullPointerException();
  if (off < 0 || len < 0 || off > b->length - len) _VM_throwArrayIndexOutOfBounds(off < 0 ? off : off + len);
  return b->elements() + off;
}

// The layout of one file: row bytes, rows a block, blocks, total size.
struct PngLayout {
  int32_t rowBytes;
  int32_t rowsPerBlock;
  int32_t blocks;
  int64_t size;
};

PngLayout layoutOf(int32_t width, int32_t height, int32_t paletteData, int32_t transparentIndex) {
  PngLayout l{};
  l.rowBytes = width + 1;
  l.rowsPerBlock = kMaxStored / l.rowBytes;
  if (l.rowsPerBlock < 1) _VM_throwNew<java::lang::IllegalArgumentException>("PNG row too wide");
  l.blocks = (height - 1) / l.rowsPerBlock + 1;
  // Signature 8, IHDR 25, PLTE 12, IDAT 12 + 2 + 4, IEND 12.
  l.size = 75 + int64_t{paletteData} + 5 * int64_t{l.blocks} + int64_t{height} * l.rowBytes;
  if (transparentIndex >= 0) l.size += 12 + int64_t{transparentIndex} + 1;
  if (l.size > INT32_MAX) _VM_throwNew<java::lang::IllegalArgumentException>("PNG too large");
  return l;
}

void writeType(const char* type) {
  for (int i = 0; i < 4; ++i) TqCanvas::writeByte(type[i]);
}

// Ends a chunk whose type starts at `typeAt`: the CRC of type and data.
void writeCrc(int32_t typeAt) {
  VMPtr<Bytes> out = TqCanvas::writeBuffer;
  TqCanvas::writeInt(TqCanvas::pngCrc(out, typeAt, TqCanvas::writePosition - typeAt));
}

void writeHeader(int32_t width, int32_t height) {
  TqCanvas::writeInt(static_cast<int32_t>(0x89504E47));
  TqCanvas::writeInt(0x0D0A1A0A);
  TqCanvas::writeInt(13);
  const int32_t typeAt = TqCanvas::writePosition;
  writeType("IHDR");
  TqCanvas::writeInt(width);
  TqCanvas::writeInt(height);
  TqCanvas::writeShort(0x0803);  // bit depth 8, palette colour
  TqCanvas::writePosition += 3;   // compression, filter, interlace: 0
  writeCrc(typeAt);
}

void writePaletteChunks(VMPtr<Bytes> palette, int32_t transparentIndex) {
  const int32_t data = palette->length - 4;
  TqCanvas::writeInt(data);
  int32_t typeAt = TqCanvas::writePosition;
  writeType("PLTE");
  std::memcpy(TqCanvas::writeBuffer->elements() + TqCanvas::writePosition, palette->elements(), data);
  TqCanvas::writePosition += data;
  writeCrc(typeAt);
  if (transparentIndex < 0) return;
  TqCanvas::writeInt(transparentIndex + 1);
  typeAt = TqCanvas::writePosition;
  writeType("tRNS");
  for (int32_t i = 0; i < transparentIndex; ++i) TqCanvas::writeByte(0xFF);
  TqCanvas::writeByte(0);
  writeCrc(typeAt);
}

// The stored blocks of the zlib stream, each followed into the Adler-32.
int32_t writeBlocks(const int8_t* pixels, int32_t scanlength, int32_t width, int32_t height, const PngLayout& l) {
  int32_t adler = 1;
  int32_t row = 0;
  for (int32_t b = 0; b < l.blocks; ++b) {
    const bool last = b == l.blocks - 1;
    const int32_t rows = last ? height - row : l.rowsPerBlock;
    const int32_t len = rows * l.rowBytes;
    TqCanvas::writeByte(last ? 1 : 0);
    TqCanvas::writeShortLE(len);
    TqCanvas::writeShortLE(~len);
    const int32_t dataAt = TqCanvas::writePosition;
    int8_t* out = TqCanvas::writeBuffer->elements() + dataAt;
    for (int32_t r = 0; r < rows; ++r, ++row, out += l.rowBytes) {
      out[0] = 0;  // filter: none
      std::memcpy(out + 1, pixels + int64_t{row} * scanlength, width);
    }
    TqCanvas::writePosition = dataAt + len;
    adler = TqCanvas::adler32(adler, TqCanvas::writeBuffer, dataAt, len);
  }
  return adler;
}

void writeImageData(const int8_t* pixels, int32_t scanlength, int32_t width, int32_t height, const PngLayout& l) {
  TqCanvas::writeInt(height * l.rowBytes + 5 * l.blocks + 6);
  const int32_t typeAt = TqCanvas::writePosition;
  writeType("IDAT");
  TqCanvas::writeByte(0x78);
  TqCanvas::writeByte(0xDA);
  TqCanvas::writeInt(writeBlocks(pixels, scanlength, width, height, l));
  writeCrc(typeAt);
  TqCanvas::writePosition += 4;  // IEND's zero length
  writeType("IEND");
  TqCanvas::writeInt(static_cast<int32_t>(0xAE426082));
}

// The first pixel of the source area; the whole area must lie in `pixels`.
const int8_t* sourceArea(VMPtr<Bytes> pixels, int32_t offset, int32_t scanlength, int32_t width, int32_t height) {
  const int64_t first = offset;
  const int64_t lastRow = first + int64_t{height - 1} * scanlength;
  const int64_t low = std::min(first, lastRow);
  const int64_t high = std::max(first, lastRow) + width;
  if (!pixels) _VM_throwNullPointerException();
  if (low < 0 || high > pixels->length) {
    _VM_throwArrayIndexOutOfBounds(static_cast<int32_t>(low < 0 ? low : std::min<int64_t>(high, INT32_MAX)));
  }
  return pixels->elements() + offset;
}

}  // namespace

int32_t TqCanvas::crc32(int32_t crc, VMPtr<VMArray<int8_t>> b, int32_t off, int32_t len) {
  const int8_t* p = checkedSlice(b, off, len);
  const uint32_t* table = crcTable();
  uint32_t c = static_cast<uint32_t>(crc);
  for (int32_t i = 0; i < len; ++i) c = table[(c ^ static_cast<uint8_t>(p[i])) & 0xFF] ^ (c >> 8);
  return static_cast<int32_t>(c);
}

int32_t TqCanvas::pngCrc(VMPtr<VMArray<int8_t>> b, int32_t off, int32_t len) { return ~crc32(-1, b, off, len); }

int32_t TqCanvas::adler32(int32_t adler, VMPtr<VMArray<int8_t>> b, int32_t off, int32_t len) {
  const int8_t* p = checkedSlice(b, off, len);
  uint32_t s1 = static_cast<uint32_t>(adler) & 0xFFFF;
  uint32_t s2 = static_cast<uint32_t>(adler) >> 16;
  while (len > 0) {
    const int32_t run = std::min(len, kAdlerRun);
    for (int32_t i = 0; i < run; ++i) {
      s1 += static_cast<uint8_t>(p[i]);
      s2 += s1;
    }
    s1 %= kAdlerBase;
    s2 %= kAdlerBase;
    p += run;
    len -= run;
  }
  return static_cast<int32_t>((s2 << 16) | s1);
}

VMPtr<VMArray<int8_t>> TqCanvas::writePNG(VMPtr<VMArray<int8_t>> pixels, int32_t offset, int32_t scanlength,
                                          int32_t width, int32_t height, VMPtr<VMArray<int8_t>> palette,
                                          int32_t transparentIndex) {
  if (width < 1 || height < 1) _VM_throwNew<java::lang::IllegalArgumentException>("PNG size below 1");
  if (!palette) _VM_throwNullPointerException();
  if (palette->length < 4) _VM_throwNew<java::lang::IllegalArgumentException>("palette shorter than 4 bytes");
  const PngLayout layout = layoutOf(width, height, palette->length - 4, transparentIndex);
  sourceArea(pixels, offset, scanlength, width, height);
  VMPtr<Bytes> file = Bytes::create(static_cast<int32_t>(layout.size));
  // The allocation may have let other threads run: the source is looked
  // up again from here on, never kept across it.
  writeInto(file, [&] {
    writeHeader(width, height);
    writePaletteChunks(palette, transparentIndex);
    writeImageData(sourceArea(pixels, offset, scanlength, width, height), scanlength, width, height, layout);
  });
  return file;
}

VMPtr<javax::microedition::lcdui::Image> TqCanvas::createIndexedImage(VMPtr<VMArray<int8_t>> pixels, int32_t offset,
                                                                     int32_t scanlength, int32_t width,
                                                                     int32_t height, VMPtr<VMArray<int8_t>> palette,
                                                                     int32_t transparentIndex) {
  VMPtr<Bytes> file = writePNG(pixels, offset, scanlength, width, height, palette, transparentIndex);
  return Resources::createImage(file, 0, file->length);
}

VMPtr<javax::microedition::lcdui::Image> TqCanvas::newIndexedImage(VMPtr<VMArray<int8_t>> pixels, int32_t offset,
                                                                  int32_t scanlength, int32_t width, int32_t height,
                                                                  VMPtr<VMArray<int8_t>> palette,
                                                                  int32_t transparentIndex) {
  return createIndexedImage(pixels, offset, scanlength, width, height, palette, transparentIndex);
}

VMPtr<VMArray<int8_t>> TqCanvas::getPalette(int32_t id) { return Resources::getPalette(id); }
int32_t TqCanvas::getTransparentIndex(int32_t id) { return Resources::getTransparentIndex(id); }
VMPtr<VMArray<int8_t>> TqCanvas::getBitmap(int32_t id) { return Resources::getBitmap(id); }

}  // namespace tq
