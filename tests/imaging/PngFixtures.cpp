#include "PngFixtures.h"

#include <png.h>

#include <stdexcept>

namespace png_fixtures {
namespace {

void appendBytes(png_structp png, png_bytep data, size_t length) {
  auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

void flushNothing(png_structp) {}

void put32(Bytes& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

uint32_t adler32(const Bytes& data) {
  uint32_t a = 1, b = 0;
  for (uint8_t byte : data) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  return (b << 16) | a;
}

// A zlib stream of stored blocks of at most 65535 bytes each.
Bytes storedZlib(const Bytes& raw) {
  Bytes out = {0x78, 0x01};
  size_t offset = 0;
  do {
    const size_t size = std::min<size_t>(65535, raw.size() - offset);
    const bool last = offset + size == raw.size();
    out.push_back(last ? 1 : 0);
    out.push_back(static_cast<uint8_t>(size));
    out.push_back(static_cast<uint8_t>(size >> 8));
    out.push_back(static_cast<uint8_t>(~size));
    out.push_back(static_cast<uint8_t>(~size >> 8));
    out.insert(out.end(), raw.begin() + offset, raw.begin() + offset + size);
    offset += size;
  } while (offset < raw.size());
  put32(out, adler32(raw));
  return out;
}

}  // namespace

uint32_t crc32(const uint8_t* data, size_t length) {
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < length; ++i) {
    crc ^= data[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

Bytes chunk(const std::string& type, const Bytes& data) {
  Bytes out;
  put32(out, static_cast<uint32_t>(data.size()));
  Bytes body(type.begin(), type.end());
  body.insert(body.end(), data.begin(), data.end());
  out.insert(out.end(), body.begin(), body.end());
  put32(out, crc32(body.data(), body.size()));
  return out;
}

Bytes encode(const Spec& spec) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  Bytes out;
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    throw std::runtime_error("libpng could not write the fixture");
  }
  png_set_write_fn(png, &out, appendBytes, flushNothing);
  png_set_IHDR(png, info, spec.width, spec.height, spec.bitDepth, spec.colorType,
               spec.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (!spec.palette.empty()) {
    std::vector<png_color> colors;
    for (size_t i = 0; i + 2 < spec.palette.size(); i += 3) {
      colors.push_back({spec.palette[i], spec.palette[i + 1], spec.palette[i + 2]});
    }
    png_set_PLTE(png, info, colors.data(), static_cast<int>(colors.size()));
  }
  if (!spec.alphas.empty()) {
    png_set_tRNS(png, info, spec.alphas.data(), static_cast<int>(spec.alphas.size()), nullptr);
  }
  if (spec.gamma != 0) png_set_gAMA(png, info, spec.gamma);
  std::vector<png_text> texts(spec.compressedTexts.size());
  for (size_t i = 0; i < texts.size(); ++i) {
    texts[i].compression = PNG_TEXT_COMPRESSION_zTXt;
    texts[i].key = const_cast<png_charp>("Comment");
    texts[i].text = const_cast<png_charp>(spec.compressedTexts[i].c_str());
    texts[i].text_length = spec.compressedTexts[i].size();
  }
  if (!texts.empty()) png_set_text(png, info, texts.data(), static_cast<int>(texts.size()));
  std::vector<png_bytep> rows;
  for (const Bytes& row : spec.rows) rows.push_back(const_cast<png_bytep>(row.data()));
  png_set_rows(png, info, rows.data());
  png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

Bytes storedPalettePng(int width, int height, const std::vector<uint8_t>& rgbPalette,
                       const std::vector<uint8_t>& alphas, const Bytes& indices) {
  Bytes out = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  Bytes header;
  put32(header, static_cast<uint32_t>(width));
  put32(header, static_cast<uint32_t>(height));
  header.insert(header.end(), {8, PNG_COLOR_TYPE_PALETTE, 0, 0, 0});
  Bytes raw;
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);  // filter: none
    raw.insert(raw.end(), indices.begin() + y * width, indices.begin() + (y + 1) * width);
  }
  for (const Bytes& c : {chunk("IHDR", header), chunk("PLTE", rgbPalette)}) {
    out.insert(out.end(), c.begin(), c.end());
  }
  if (!alphas.empty()) {
    const Bytes c = chunk("tRNS", alphas);
    out.insert(out.end(), c.begin(), c.end());
  }
  for (const Bytes& c : {chunk("IDAT", storedZlib(raw)), chunk("IEND", {})}) {
    out.insert(out.end(), c.begin(), c.end());
  }
  return out;
}

}  // namespace png_fixtures
