// Image decoding and text drawing of the platform layer, side by side with
// the natural alternative.
//
//   DecodeToImage:  HAL_createImageWithData of a 240 x 320 RGBA PNG into an
//                   RGB565 surface with an alpha plane (libpng decode, each
//                   row packed into the surface as it comes).
//   DecodeLibpng:   the same file through libpng's simplified API into
//                   32-bit RGBA, nothing else: the floor for the decode.
//   DrawText:       HAL_drawText of a 12-character line in the default font
//                   into a 240 x 320 screen-sized surface (copy of the box
//                   into the scratch, glyphs, copy back under the clip).
//   DrawTextDirect: CeFont::draw of the same line straight into the surface.
#include <benchmark/benchmark.h>
#include <png.h>

#include <cstring>
#include <vector>

#include "CeFont.h"
#include "HALFont.h"
#include "HALGraphics.h"
#include "HALImage.h"
#include "RasterContext.h"
#include "RasterImage.h"
#include "RasterSurface.h"

namespace {

constexpr int32_t kWidth = 240, kHeight = 320;

// A screen-sized RGBA picture with gradients and a translucent band.
const std::vector<uint8_t>& pngFile() {
  static const std::vector<uint8_t> file = [] {
    std::vector<uint8_t> rgba(size_t(kWidth) * kHeight * 4);
    for (int32_t y = 0; y < kHeight; ++y) {
      for (int32_t x = 0; x < kWidth; ++x) {
        uint8_t* p = &rgba[(size_t(y) * kWidth + x) * 4];
        p[0] = uint8_t(x);
        p[1] = uint8_t(y);
        p[2] = uint8_t(x ^ y);
        p[3] = y > 100 && y < 140 ? 128 : 255;
      }
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = kWidth;
    image.height = kHeight;
    image.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    png_image_write_to_memory(&image, nullptr, &size, 0, rgba.data(), 0, nullptr);
    std::vector<uint8_t> out(size);
    png_image_write_to_memory(&image, out.data(), &size, 0, rgba.data(), 0, nullptr);
    out.resize(size);
    return out;
  }();
  return file;
}

void DecodeToImage(benchmark::State& state) {
  const std::vector<uint8_t>& file = pngFile();
  for (auto _ : state) {
    RasterImage* image = nullptr;
    if (HAL_createImageWithData(&image, file.data(), int32_t(file.size()), nullptr, nullptr) != HAL_OK) {
      state.SkipWithError("decode failed");
      break;
    }
    HAL_releaseImage(image);
  }
}
BENCHMARK(DecodeToImage)->Unit(benchmark::kMicrosecond);

void DecodeLibpng(benchmark::State& state) {
  const std::vector<uint8_t>& file = pngFile();
  std::vector<uint8_t> pixels(size_t(kWidth) * kHeight * 4);
  for (auto _ : state) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    png_image_begin_read_from_memory(&image, file.data(), file.size());
    image.format = PNG_FORMAT_RGBA;
    png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr);
    benchmark::DoNotOptimize(pixels.data());
  }
}
BENCHMARK(DecodeLibpng)->Unit(benchmark::kMicrosecond);

const char16_t kLine[] = u"Hello, world";
constexpr int32_t kLineLength = 12;

void DrawText(benchmark::State& state) {
  RasterSurface* surface = RasterSurface::createOpaque(kWidth, kHeight);
  RasterContext* context = RasterContext::create(surface);
  HALFont* font = nullptr;
  HAL_getFont(&font, 0, 0, 0);
  context->font = font;
  for (auto _ : state) {
    HAL_drawText(context, kLine, kLineLength, 20, 100);
    benchmark::DoNotOptimize(surface->pixels);
  }
  delete context;
  delete surface;
}
BENCHMARK(DrawText)->Unit(benchmark::kMicrosecond);

void DrawTextDirect(benchmark::State& state) {
  RasterSurface* surface = RasterSurface::createOpaque(kWidth, kHeight);
  HALFont* font = nullptr;
  HAL_getFont(&font, 0, 0, 0);
  const CeFont::Target target{surface->pixelAddress(20, 100), kWidth - 20, font->height, surface->stride, false};
  for (auto _ : state) {
    font->font->draw(target, kLine, kLineLength, 0);
    benchmark::DoNotOptimize(surface->pixels);
  }
  delete surface;
}
BENCHMARK(DrawTextDirect)->Unit(benchmark::kMicrosecond);

}  // namespace
