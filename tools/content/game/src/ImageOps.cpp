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

namespace {

// A colour of the picture with how many pixels have it.
struct Weighted {
  std::array<int, 3> rgb;
  uint64_t count;
};

uint32_t meanColour(const std::vector<Weighted>& colours) {
  std::array<uint64_t, 3> sum{};
  uint64_t n = 0;
  for (const Weighted& w : colours) {
    for (int c = 0; c < 3; ++c) sum[c] += w.rgb[c] * w.count;
    n += w.count;
  }
  return 0xFF000000 | uint32_t(sum[0] / n) << 16 | uint32_t(sum[1] / n) << 8 | uint32_t(sum[2] / n);
}

// Median cut: the box of colours with the widest channel range is split at
// its pixel-weighted median along that channel, until there are `boxes`
// boxes or no box can be split; each box gives its mean colour.
std::vector<uint32_t> medianCut(std::vector<Weighted> colours, size_t boxes) {
  std::vector<std::vector<Weighted>> all = {std::move(colours)};
  auto range = [](const std::vector<Weighted>& box, int c) {
    int lo = 255, hi = 0;
    for (const Weighted& w : box) lo = std::min(lo, w.rgb[c]), hi = std::max(hi, w.rgb[c]);
    return hi - lo;
  };
  while (all.size() < boxes) {
    size_t widest = 0;
    int channel = 0, best = 0;
    for (size_t b = 0; b < all.size(); ++b) {
      for (int c = 0; c < 3; ++c) {
        if (all[b].size() > 1 && range(all[b], c) > best) best = range(all[b], c), widest = b, channel = c;
      }
    }
    if (best == 0) break;
    auto& box = all[widest];
    std::stable_sort(box.begin(), box.end(),
                     [&](const Weighted& a, const Weighted& b) { return a.rgb[channel] < b.rgb[channel]; });
    uint64_t total = 0, running = 0;
    for (const Weighted& w : box) total += w.count;
    size_t cut = 1;
    while (cut < box.size() - 1 && (running += box[cut - 1].count) < total / 2) ++cut;
    std::vector<Weighted> upper(box.begin() + cut, box.end());
    box.resize(cut);
    all.push_back(std::move(upper));
  }
  std::vector<uint32_t> palette;
  for (const auto& box : all) palette.push_back(meanColour(box));
  return palette;
}

}  // namespace

content::IndexedImage palettise(const content::RgbaImage& image, size_t maxColours) {
  require(maxColours >= 1 && maxColours <= 255, "palettise", "1 to 255 colours");
  std::map<uint32_t, uint64_t> counts;  // opaque colours
  for (uint32_t p : image.pixels) {
    if ((p >> 24) >= 128) ++counts[p | 0xFF000000];
  }
  std::vector<Weighted> colours;
  for (const auto& [c, n] : counts) colours.push_back({{int(c >> 16 & 0xFF), int(c >> 8 & 0xFF), int(c & 0xFF)}, n});
  std::vector<uint32_t> palette;
  if (colours.size() <= maxColours) {
    // Few enough: every colour exactly, the most used first.
    std::stable_sort(colours.begin(), colours.end(), [](const Weighted& a, const Weighted& b) { return a.count > b.count; });
    for (const Weighted& w : colours) palette.push_back(meanColour({w}));
  } else {
    palette = medianCut(std::move(colours), maxColours);
  }
  content::IndexedImage out{image.width, image.height, {}, {0x00000000}};
  out.palette.insert(out.palette.end(), palette.begin(), palette.end());
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

namespace gamecontent {

void drawOver(content::RgbaImage& image, const content::RgbaImage& top, int x, int y) {
  for (int r = 0; r < top.height; ++r) {
    for (int c = 0; c < top.width; ++c) {
      const int px = x + c, py = y + r;
      if (px < 0 || py < 0 || px >= image.width || py >= image.height) continue;
      const uint32_t t = top.pixels[r * top.width + c];
      uint32_t& d = image.pixels[py * image.width + px];
      const uint32_t ta = t >> 24, da = d >> 24;
      const uint32_t outA = ta + da * (255 - ta) / 255;
      if (outA == 0) {
        d = 0;
        continue;
      }
      auto mix = [&](int shift) {
        const uint32_t tc = (t >> shift) & 0xFF, dc = (d >> shift) & 0xFF;
        return (tc * ta + dc * da * (255 - ta) / 255) / outA;
      };
      d = outA << 24 | mix(16) << 16 | mix(8) << 8 | mix(0);
    }
  }
}

content::RgbaImage toRgba(const content::IndexedImage& image) {
  content::RgbaImage out{image.width, image.height, {}};
  for (uint8_t i : image.indices) out.pixels.push_back(image.palette.at(i));
  return out;
}

void paintSpot(content::IndexedImage& image, int x, int y, int size, uint32_t colour) {
  require(image.palette.size() < 256, "spot", "the palette has no room for the spot's colour");
  require(x >= 0 && y >= 0 && x + size <= image.width && y + size <= image.height, "spot",
          "lies outside the image");
  image.palette.push_back(colour);
  const auto index = static_cast<uint8_t>(image.palette.size() - 1);
  for (int r = 0; r < size; ++r)
    for (int c = 0; c < size; ++c) image.indices[(y + r) * image.width + x + c] = index;
}

}  // namespace gamecontent
