#include "PngWriter.h"

#include <png.h>

#include <csetjmp>
#include <cstring>

#include "ContentError.h"

namespace content {

namespace {

// One encode. libpng leaves a failing encode with a long jump, which skips
// destructors, so the encode holds only plain values; the caller owns the
// vectors it points into.
struct Encode {
  png_structp png = nullptr;
  png_infop info = nullptr;
  Bytes* out = nullptr;
  char message[128] = {};
};

void onError(png_structp png, png_const_charp message) {
  auto* e = static_cast<Encode*>(png_get_error_ptr(png));
  std::strncpy(e->message, message, sizeof e->message - 1);
  png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

void appendBytes(png_structp png, png_bytep data, size_t count) {
  auto* e = static_cast<Encode*>(png_get_io_ptr(png));
  bool grown = true;
  try {
    e->out->insert(e->out->end(), data, data + count);
  } catch (...) {
    grown = false;
  }
  if (!grown) png_error(png, "out of memory");
}

void flushNothing(png_structp) {}

// The chunks libpng is told about before the pixels.
struct Header {
  int width;
  int height;
  int colourType;
  const png_color* palette;
  int paletteSize;
  const png_byte* alpha;
  int alphaSize;
};

// The part that may leave by a long jump; only plain values live here.
bool encode(Encode& e, const Header& h, png_bytep* rows) {
  if (setjmp(png_jmpbuf(e.png))) return false;
  png_set_write_fn(e.png, &e, appendBytes, flushNothing);
  png_set_IHDR(e.png, e.info, static_cast<png_uint_32>(h.width), static_cast<png_uint_32>(h.height), 8, h.colourType,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (h.palette != nullptr) png_set_PLTE(e.png, e.info, h.palette, h.paletteSize);
  if (h.alphaSize > 0) png_set_tRNS(e.png, e.info, h.alpha, h.alphaSize, nullptr);
  png_write_info(e.png, e.info);
  png_write_image(e.png, rows);
  png_write_end(e.png, e.info);
  return true;
}

Bytes run(const Header& h, Bytes& pixels, int bytesPerPixel) {
  std::vector<png_bytep> rows(static_cast<size_t>(h.height));
  for (int y = 0; y < h.height; ++y) rows[y] = pixels.data() + static_cast<size_t>(y) * h.width * bytesPerPixel;
  Bytes out;
  Encode e;
  e.out = &out;
  e.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &e, onError, onWarning);
  e.info = e.png != nullptr ? png_create_info_struct(e.png) : nullptr;
  const bool ok = e.info != nullptr && encode(e, h, rows.data());
  png_destroy_write_struct(&e.png, &e.info);
  require(ok, "PNG", std::string("libpng failed: ") + e.message);
  return out;
}

void checkSize(int width, int height, size_t pixels) {
  requireRange(width, 1, kMaxPngSide, "PNG width");
  requireRange(height, 1, kMaxPngSide, "PNG height");
  require(int64_t{width} * height <= kMaxPngPixels, "PNG", "more than 2^24 pixels");
  require(pixels == static_cast<size_t>(width) * height, "PNG pixels",
          std::to_string(pixels) + " given for " + std::to_string(width) + " x " + std::to_string(height));
}

}  // namespace

Bytes writePng(const RgbaImage& image) {
  checkSize(image.width, image.height, image.pixels.size());
  Bytes rgba;
  rgba.reserve(image.pixels.size() * 4);
  for (uint32_t p : image.pixels) {
    for (int shift : {16, 8, 0, 24}) rgba.push_back(static_cast<uint8_t>(p >> shift));
  }
  return run({image.width, image.height, PNG_COLOR_TYPE_RGB_ALPHA, nullptr, 0, nullptr, 0}, rgba, 4);
}

Bytes writePng(const IndexedImage& image) {
  checkSize(image.width, image.height, image.indices.size());
  requireRange(static_cast<long long>(image.palette.size()), 1, 256, "palette length");
  for (size_t i = 0; i < image.indices.size(); ++i) {
    require(image.indices[i] < image.palette.size(), itemName("PNG pixel", i),
            "index " + std::to_string(image.indices[i]) + " is past the palette");
  }
  std::vector<png_color> colours;
  Bytes alpha;
  int alphaSize = 0;
  for (uint32_t p : image.palette) {
    colours.push_back({static_cast<png_byte>(p >> 16), static_cast<png_byte>(p >> 8), static_cast<png_byte>(p)});
    alpha.push_back(static_cast<uint8_t>(p >> 24));
    if (alpha.back() != 0xFF) alphaSize = static_cast<int>(alpha.size());
  }
  Bytes indices = image.indices;
  return run({image.width, image.height, PNG_COLOR_TYPE_PALETTE, colours.data(), static_cast<int>(colours.size()),
              alpha.data(), alphaSize},
             indices, 1);
}

}  // namespace content
