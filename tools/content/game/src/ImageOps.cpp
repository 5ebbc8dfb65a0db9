#include "ImageOps.h"

#include <png.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>

#include "ContentError.h"

namespace gamecontent {

using content::require;

content::RgbaImage readPng(const content::Bytes& png, const std::string& name) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  require(png_image_begin_read_from_memory(&image, png.data(), png.size()) != 0, name, "is not a PNG");
  image.format = PNG_FORMAT_BGRA;  // little-endian 0xAARRGGBB words
  content::RgbaImage out{static_cast<int>(image.width), static_cast<int>(image.height), {}};
  out.pixels.resize(static_cast<size_t>(out.width) * out.height);
  const bool ok = png_image_finish_read(&image, nullptr, out.pixels.data(), 0, nullptr) != 0;
  png_image_free(&image);
  require(ok, name, "cannot be decoded");
  return out;
}

content::IndexedImage crop(const content::IndexedImage& image, int x, int y, int w, int h) {
  require(x >= 0 && y >= 0 && w > 0 && h > 0 && x + w <= image.width && y + h <= image.height, "crop",
          "the region lies outside the image");
  content::IndexedImage out{w, h, {}, image.palette};
  for (int r = 0; r < h; ++r) {
    const auto* row = image.indices.data() + (y + r) * image.width + x;
    out.indices.insert(out.indices.end(), row, row + w);
  }
  return out;
}

content::IndexedImage scaleNearest(const content::IndexedImage& image, int w, int h) {
  content::IndexedImage out{w, h, {}, image.palette};
  out.indices.resize(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      out.indices[y * w + x] = image.indices[(y * image.height / h) * image.width + x * image.width / w];
    }
  }
  return out;
}

content::RgbaImage scaleArea(const content::RgbaImage& image, int w, int h) {
  content::RgbaImage out{w, h, {}};
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const int x0 = x * image.width / w, x1 = std::max(x0 + 1, (x + 1) * image.width / w);
      const int y0 = y * image.height / h, y1 = std::max(y0 + 1, (y + 1) * image.height / h);
      double a = 0, r = 0, g = 0, b = 0;
      for (int sy = y0; sy < y1; ++sy) {
        for (int sx = x0; sx < x1; ++sx) {
          const uint32_t p = image.pixels[sy * image.width + sx];
          const double pa = (p >> 24) / 255.0;
          a += pa, r += pa * ((p >> 16) & 0xFF), g += pa * ((p >> 8) & 0xFF), b += pa * (p & 0xFF);
        }
      }
      const double n = (x1 - x0) * (y1 - y0);
      auto channel = [](double v) { return static_cast<uint32_t>(std::clamp(std::lround(v), 0L, 255L)); };
      out.pixels.push_back(a == 0 ? 0
                                  : channel(a / n * 255) << 24 | channel(r / a) << 16 | channel(g / a) << 8 |
                                        channel(b / a));
    }
  }
  return out;
}

namespace {

std::array<double, 3> toHsv(uint32_t c) {
  const double r = ((c >> 16) & 0xFF) / 255.0, g = ((c >> 8) & 0xFF) / 255.0, b = (c & 0xFF) / 255.0;
  const double mx = std::max({r, g, b}), mn = std::min({r, g, b}), d = mx - mn;
  double h = 0;
  if (d > 0) h = mx == r ? std::fmod((g - b) / d + 6, 6.0) : mx == g ? (b - r) / d + 2 : (r - g) / d + 4;
  return {h * 60, mx == 0 ? 0 : d / mx, mx};
}

uint32_t fromHsv(double h, double s, double v, uint32_t alpha) {
  h = std::fmod(h + 360, 360.0) / 60;
  const double c = v * s, x = c * (1 - std::fabs(std::fmod(h, 2.0) - 1)), m = v - c;
  const int sector = static_cast<int>(h) % 6;
  const double rgb[6][3] = {{c, x, 0}, {x, c, 0}, {0, c, x}, {0, x, c}, {x, 0, c}, {c, 0, x}};
  auto channel = [&](double t) { return static_cast<uint32_t>(std::clamp(std::lround((t + m) * 255), 0L, 255L)); };
  return alpha | channel(rgb[sector][0]) << 16 | channel(rgb[sector][1]) << 8 | channel(rgb[sector][2]);
}

int distance(uint32_t a, uint32_t b) {
  const int dr = int((a >> 16) & 0xFF) - int((b >> 16) & 0xFF), dg = int((a >> 8) & 0xFF) - int((b >> 8) & 0xFF),
            db = int(a & 0xFF) - int(b & 0xFF);
  return 2 * dr * dr + 4 * dg * dg + 3 * db * db;
}

}  // namespace

void recolour(content::IndexedImage& image, int degrees, double saturation, double value, double minSaturation) {
  for (uint32_t& c : image.palette) {
    const auto [h, s, v] = toHsv(c);
    if ((c >> 24) == 0 || s < minSaturation) continue;
    c = fromHsv(h + degrees, std::min(1.0, s * saturation), std::min(1.0, v * value), c & 0xFF000000);
  }
}

content::IndexedImage palettise(const content::RgbaImage& image) {
  // Colours by 4-bit bucket: count and sums, to take each bucket's mean.
  std::map<uint32_t, std::array<uint64_t, 4>> buckets;
  for (uint32_t p : image.pixels) {
    if ((p >> 24) < 128) continue;
    auto& b = buckets[(p >> 12 & 0xF00) | (p >> 8 & 0xF0) | (p >> 4 & 0xF)];
    b[0] += 1, b[1] += (p >> 16) & 0xFF, b[2] += (p >> 8) & 0xFF, b[3] += p & 0xFF;
  }
  std::vector<std::pair<uint64_t, uint32_t>> byUse;
  for (const auto& [key, b] : buckets) {
    byUse.push_back({b[0], 0xFF000000 | uint32_t(b[1] / b[0]) << 16 | uint32_t(b[2] / b[0]) << 8 |
                               uint32_t(b[3] / b[0])});
  }
  std::stable_sort(byUse.begin(), byUse.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
  content::IndexedImage out{image.width, image.height, {}, {0x00000000}};
  for (size_t i = 0; i < byUse.size() && i < 255; ++i) out.palette.push_back(byUse[i].second);
  std::map<uint32_t, uint8_t> nearest;
  for (uint32_t p : image.pixels) {
    if ((p >> 24) < 128) {
      out.indices.push_back(0);
      continue;
    }
    const uint32_t key = p | 0xFF000000;
    auto it = nearest.find(key);
    if (it == nearest.end()) {
      size_t best = 1;
      for (size_t i = 2; i < out.palette.size(); ++i) {
        if (distance(out.palette[i], key) < distance(out.palette[best], key)) best = i;
      }
      it = nearest.emplace(key, static_cast<uint8_t>(best)).first;
    }
    out.indices.push_back(it->second);
  }
  return out;
}

void makeTransparent(content::IndexedImage& image, int index) {
  require(index >= 0 && index < static_cast<int>(image.palette.size()), "transparent entry",
          std::to_string(index) + " is not in the palette");
  image.palette[index] = 0x00000000;
}

}  // namespace gamecontent

namespace gamecontent {

void tint(content::RgbaImage& image, uint32_t colour) {
  for (uint32_t& p : image.pixels) {
    const double y = (0.299 * ((p >> 16) & 0xFF) + 0.587 * ((p >> 8) & 0xFF) + 0.114 * (p & 0xFF)) / 255.0;
    // Lighten towards the colour, so that mid greys reach it in full.
    const double k = std::min(1.0, y * 1.6);
    auto channel = [&](int shift) { return static_cast<uint32_t>(std::lround(((colour >> shift) & 0xFF) * k)); };
    p = (p & 0xFF000000) | channel(16) << 16 | channel(8) << 8 | channel(0);
  }
}

}  // namespace gamecontent
