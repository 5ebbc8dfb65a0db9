#include "InterfaceDrawing.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <numeric>

#include "Art.h"
#include "BmpReader.h"
#include "ContentError.h"
#include "GlyphSets.h"
#include "ImageOps.h"

namespace gamecontent {

using content::require;
using content::RgbaImage;

namespace {

constexpr uint32_t kOpaque = 0xFF000000;

void setPixel(RgbaImage& image, int x, int y, uint32_t argb) {
  if (x < 0 || y < 0 || x >= image.width || y >= image.height) return;
  image.pixels[static_cast<size_t>(y) * image.width + x] = argb;
}

// The ground colour of the Pekka Kana 2 pictures.
constexpr uint32_t kPk2Ground = 0xFF9BE8E0;

}  // namespace

RgbaImage blankPicture(int w, int h) {
  require(w >= 1 && h >= 1, "picture", "is at least 1 x 1");
  return RgbaImage{w, h, std::vector<uint32_t>(static_cast<size_t>(w) * h, 0)};
}

void fillRect(RgbaImage& image, int x, int y, int w, int h, uint32_t colour) {
  for (int r = y; r < y + h; ++r)
    for (int c = x; c < x + w; ++c) setPixel(image, c, r, colour | kOpaque);
}

void clearRect(RgbaImage& image, int x, int y, int w, int h) {
  for (int r = y; r < y + h; ++r)
    for (int c = x; c < x + w; ++c) setPixel(image, c, r, 0);
}

void outlineRect(RgbaImage& image, int x, int y, int w, int h, int thickness, uint32_t colour) {
  fillRect(image, x, y, w, thickness, colour);
  fillRect(image, x, y + h - thickness, w, thickness, colour);
  fillRect(image, x, y, thickness, h, colour);
  fillRect(image, x + w - thickness, y, thickness, h, colour);
}

void fillEllipse(RgbaImage& image, int x, int y, int w, int h, uint32_t colour) {
  const double rx = w / 2.0, ry = h / 2.0;
  for (int r = 0; r < h; ++r) {
    for (int c = 0; c < w; ++c) {
      const double dx = (c + 0.5 - rx) / rx, dy = (r + 0.5 - ry) / ry;
      if (dx * dx + dy * dy <= 1.0) setPixel(image, x + c, y + r, colour | kOpaque);
    }
  }
}

RgbaImage boxPicture(int w, int h, uint32_t fill, uint32_t border) {
  RgbaImage image = blankPicture(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const int dx = std::min(x, w - 1 - x), dy = std::min(y, h - 1 - y);
      if (dx + dy < 2) continue;  // the cut corners
      const bool edge = dx < 2 || dy < 2 || dx + dy < 4;
      setPixel(image, x, y, (edge ? border : fill) | kOpaque);
    }
  }
  return image;
}

RgbaImage ringPicture(int w, int h, int thickness, uint32_t colour) {
  RgbaImage image = blankPicture(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const int dx = std::min(x, w - 1 - x), dy = std::min(y, h - 1 - y);
      if (dx + dy < 2) continue;
      if (dx < thickness || dy < thickness) setPixel(image, x, y, colour | kOpaque);
    }
  }
  return image;
}

void paintSpotPixels(RgbaImage& image, int x, int y, uint32_t colour) {
  require(x >= 0 && y >= 0 && x + 2 <= image.width && y + 2 <= image.height, "spot", "lies outside the picture");
  fillRect(image, x, y, 2, 2, colour);
}

RgbaImage scaleUp(const RgbaImage& image, int factor) {
  RgbaImage out = blankPicture(image.width * factor, image.height * factor);
  for (int y = 0; y < out.height; ++y)
    for (int x = 0; x < out.width; ++x)
      out.pixels[static_cast<size_t>(y) * out.width + x] =
          image.pixels[static_cast<size_t>(y / factor) * image.width + x / factor];
  return out;
}

RgbaImage greyed(const RgbaImage& image) {
  RgbaImage out = image;
  for (uint32_t& p : out.pixels) {
    const uint32_t r = p >> 16 & 0xFF, g = p >> 8 & 0xFF, b = p & 0xFF;
    const uint32_t v = (r * 30 + g * 59 + b * 11) / 100 / 2 + 70;
    p = (p & 0xFF000000) | v << 16 | v << 8 | v;
  }
  return out;
}

RgbaImage textPicture(const std::filesystem::path& game, const std::u16string& text, int face) {
  require(face == 0 || face == 1, "text face", "is 0 or 1");
  // Face 0 is the menus' set (0x4C01), face 1 the counter's (0x4C00).
  const GlyphSetSource& source = glyphSetSources().at(face == 0 ? 1 : 0);
  const std::set<char16_t> codes(text.begin(), text.end());
  const BuiltGlyphSet glyphs = buildGlyphSet(game / "fonts" / source.font, codes, 0, source.style);
  auto glyphOf = [&](char16_t c) -> const content::Glyph& {
    for (const auto& g : glyphs.font.glyphs)
      if (g.code == c) return g;
    throw content::ContentError("text", "a character has no glyph");
  };
  int width = 0;
  for (char16_t c : text) width += glyphOf(c).advance;
  RgbaImage image = blankPicture(std::max(1, width + 2), glyphs.font.metrics.height + 2);
  int x = 1;
  for (char16_t c : text) {
    const content::Glyph& g = glyphOf(c);
    for (int r = 0; r < g.height && !g.empty; ++r) {
      for (int q = 0; q < g.width; ++q) {
        const uint32_t p = glyphs.sheet.palette[glyphs.sheet.indices[(g.sheetY + r) * glyphs.sheet.width + g.sheetX + q]];
        if ((p >> 24) != 0) setPixel(image, x + g.xOffset + q, 1 + g.yOffset + r, p);
      }
    }
    x += g.advance;
  }
  return image;
}

RgbaImage pk2Picture(const std::filesystem::path& game, const char* file) {
  const std::filesystem::path path = game / "art" / "pk2" / file;
  std::ifstream in(path, std::ios::binary);
  require(in.good(), path.string(), "cannot be opened");
  const content::Bytes bytes{std::istreambuf_iterator<char>(in), {}};
  auto image = content::readBmp(bytes, file);
  require(std::holds_alternative<content::IndexedImage>(image), file, "is not an 8-bit palette BMP");
  RgbaImage picture = toRgba(std::get<content::IndexedImage>(image));
  for (uint32_t& p : picture.pixels) {
    if ((p | kOpaque) == kPk2Ground) p = 0;
  }
  return picture;
}

const std::set<uint32_t>& spotColours() {
  static const std::set<uint32_t> colours = [] {
    std::set<uint32_t> all;
    for (const Spot& s : spots()) all.insert(s.colour | kOpaque);
    for (const char* e : {"row", "button", "backdrop", "stage", "counter", "pause", "results", "gallery", "board"}) {
      all.insert(interfaceSpot(e));
    }
    return all;
  }();
  return colours;
}

std::vector<content::FrameBox> typedBoxes(int count, const std::vector<BoxAt>& boxes) {
  std::vector<content::FrameBox> out(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) out[i].type = i;
  for (const BoxAt& b : boxes) {
    require(b.index >= 0 && b.index < count, "box", "index within the frame's boxes");
    out[b.index] = {b.x, b.y, b.width, b.height, false, b.index};
  }
  return out;
}

// --- The builder ----------------------------------------------------------

int KitBuilder::add(const RgbaImage& picture, int x, int y) {
  size_t index = 0;
  while (index < entries_.size() && entries_[index].used) ++index;
  put(static_cast<int>(index), picture, x, y);
  return static_cast<int>(index);
}

void KitBuilder::put(int index, const RgbaImage& picture, int x, int y) {
  require(index >= 0 && index < 1024, "sprite", "index 0..1023");
  if (entries_.size() <= static_cast<size_t>(index)) entries_.resize(index + 1);
  require(!entries_[index].used, "sprite " + std::to_string(index), "is placed twice");
  entries_[index] = {picture, x, y, true};
}

int KitBuilder::frame(std::vector<content::FramePart> parts, std::vector<content::FrameBox> boxes) {
  anims_.frames.push_back({std::move(parts), std::move(boxes)});
  return static_cast<int>(anims_.frames.size() - 1);
}

void KitBuilder::animation(int loops, const std::vector<Step>& steps) {
  content::Animation a;
  a.loops = loops;
  for (const Step& s : steps) {
    auto at = std::find(anims_.durations.begin(), anims_.durations.end(), s.milliseconds);
    if (at == anims_.durations.end()) at = anims_.durations.insert(anims_.durations.end(), s.milliseconds);
    a.steps.push_back({s.frame, s.dx, s.dy, static_cast<int>(at - anims_.durations.begin())});
  }
  anims_.animations.push_back(std::move(a));
}

InterfaceKit KitBuilder::finish() {
  // Indices that nothing took get a 1 x 1 transparent sprite.
  for (Entry& e : entries_) {
    if (!e.used) e = {blankPicture(1, 1), 0, 0, true};
  }
  // Shelf packing, tallest first, one pixel apart.
  int widest = 1;
  for (const Entry& e : entries_) widest = std::max(widest, e.picture.width);
  const int sheetWidth = std::max(256, widest);
  std::vector<size_t> order(entries_.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](size_t a, size_t b) { return entries_[a].picture.height > entries_[b].picture.height; });
  std::vector<std::pair<int, int>> at(entries_.size());
  int x = 0, y = 0, rowHeight = 0;
  for (size_t i : order) {
    const RgbaImage& p = entries_[i].picture;
    if (x + p.width > sheetWidth) x = 0, y += rowHeight + 1, rowHeight = 0;
    at[i] = {x, y};
    x += p.width + 1;
    rowHeight = std::max(rowHeight, p.height);
  }
  RgbaImage sheet = blankPicture(sheetWidth, y + rowHeight);
  struct PlacedSpot {
    int x, y;
    uint32_t colour;
  };
  std::vector<PlacedSpot> placed;
  InterfaceKit kit;
  const auto& colours = spotColours();
  for (size_t i = 0; i < entries_.size(); ++i) {
    const RgbaImage& p = entries_[i].picture;
    for (int r = 0; r < p.height; ++r)
      std::copy_n(p.pixels.begin() + static_cast<size_t>(r) * p.width, p.width,
                  sheet.pixels.begin() + static_cast<size_t>(at[i].second + r) * sheet.width + at[i].first);
    // Spots: the top-left pixel of each 2 x 2 square of a spot colour.
    auto pixel = [&](int c, int r) {
      return c < 0 || r < 0 || c >= p.width || r >= p.height ? 0u : p.pixels[static_cast<size_t>(r) * p.width + c];
    };
    for (int r = 0; r < p.height; ++r) {
      for (int c = 0; c < p.width; ++c) {
        const uint32_t v = pixel(c, r);
        if (!colours.count(v) || pixel(c - 1, r) == v || pixel(c, r - 1) == v) continue;
        kit.spots.push_back({static_cast<int>(i), c, r, v});
        placed.push_back({at[i].first + c, at[i].second + r, v});
      }
    }
  }
  kit.sheet = palettise(sheet, 240);
  std::map<uint32_t, uint8_t> entries;
  for (const PlacedSpot& s : placed) {
    if (!entries.count(s.colour)) {
      require(kit.sheet.palette.size() < 256, "sheet", "has no room for its spots' colours");
      kit.sheet.palette.push_back(s.colour);
      entries[s.colour] = static_cast<uint8_t>(kit.sheet.palette.size() - 1);
    }
    for (int r = 0; r < 2; ++r)
      for (int c = 0; c < 2; ++c) kit.sheet.indices[static_cast<size_t>(s.y + r) * kit.sheet.width + s.x + c] = entries[s.colour];
  }
  kit.sprites.sheet = static_cast<uint16_t>(sheetIndex_);
  for (size_t i = 0; i < entries_.size(); ++i) {
    const Entry& e = entries_[i];
    content::SpriteRecord s;
    s.x = static_cast<int16_t>(e.x);
    s.y = static_cast<int16_t>(e.y);
    s.sheetX = static_cast<int16_t>(at[i].first);
    s.sheetY = static_cast<int16_t>(at[i].second);
    s.width = static_cast<int16_t>(e.picture.width);
    s.height = static_cast<int16_t>(e.picture.height);
    s.boxWidth = s.width;
    s.boxHeight = s.height;
    kit.sprites.sprites.push_back(s);
  }
  if (!anims_.frames.empty()) kit.anims = anims_;
  return kit;
}

}  // namespace gamecontent
