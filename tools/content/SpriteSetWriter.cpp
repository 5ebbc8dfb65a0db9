#include "SpriteSetWriter.h"

#include "ContentError.h"

namespace content {

namespace {

constexpr int kGroupFirst[4] = {0, 2, 6, 10};  // group g holds values kGroupFirst[g] .. kGroupFirst[g+1]-1
constexpr size_t kMaxSprites = 4095;
constexpr size_t kMaxValueBlock = 32767 - 4;  // the block length field is 4 + the block, signed 16-bit
constexpr const char* kValueNames[10] = {"x",     "y",      "sheet x", "sheet y", "width",
                                         "height", "box x", "box y",   "box width", "box height"};

bool isSignedValue(int v) { return v == 0 || v == 1 || v == 6 || v == 7; }

bool fitsOneByte(int v, int16_t value) {
  return isSignedValue(v) ? value >= -128 && value <= 127 : value >= 0 && value <= 255;
}

std::string valueItem(size_t sprite, int v) { return itemName("sprite", sprite) + ", " + kValueNames[v]; }

void checkSprite(const SpriteRecord& s, size_t i) {
  const std::string item = itemName("sprite", i);
  require(s.boxWidth >= 0, item + ", box width", "negative; it shares its 16 bits with the circle flag");
  require(s.sheetX >= 0 && s.sheetY >= 0, item, "its region starts left of or above the sheet");
  if (s.empty) {
    require(s.width == 0 && s.height == 0, item, "declared empty but sized " + std::to_string(s.width) + " x " +
                                                     std::to_string(s.height));
  } else {
    require(s.width >= 1 && s.height >= 1, item, std::to_string(s.width) + " x " + std::to_string(s.height) +
                                                     " is smaller than 1 x 1 and not declared empty");
  }
}

// Each present value's width (1 or 2) or 0 for an absent one, as `layout`
// says; refuses a value that the layout cannot hold.
std::array<int, 10> valueWidths(uint16_t layout, const std::vector<std::array<int16_t, 10>>& values) {
  std::array<int, 10> widths{};
  int k = 5;
  for (int g = 0; g < 3; ++g) {
    const bool present = (layout >> g & 1) == 0;
    for (int v = kGroupFirst[g]; v < kGroupFirst[g + 1]; ++v) {
      if (present) widths[v] = (layout >> k++ & 1) != 0 ? 1 : 2;
      for (size_t i = 0; i < values.size(); ++i) {
        require(present || values[i][v] == 0, valueItem(i, v), "non-zero in a group the layout leaves out");
        require(widths[v] != 1 || fitsOneByte(v, values[i][v]), valueItem(i, v),
                std::to_string(values[i][v]) + " does not fit the layout's one-byte column");
      }
    }
  }
  return widths;
}

void appendAttributes(ByteWriter& out, const std::vector<uint8_t>& attributes) {
  const size_t count = (attributes.size() + 3) / 4;
  out.u16(static_cast<uint32_t>(5 + count));
  out.u32(0);
  out.u8(0);
  for (size_t b = 0; b < count; ++b) {
    uint32_t byte = 0;
    for (size_t i = b * 4; i < attributes.size() && i < b * 4 + 4; ++i) byte |= uint32_t{attributes[i]} << (2 * (i % 4));
    out.u8(byte);
  }
}

}  // namespace

std::array<int16_t, 10> spriteValues(const SpriteRecord& s) {
  const auto value8 = static_cast<int16_t>((s.circle ? 0x8000 : 0) | (s.boxWidth & 0x7FFF));
  return {s.x, s.y, s.sheetX, s.sheetY, s.width, s.height, s.boxX, s.boxY, value8, s.boxHeight};
}

uint16_t narrowestSpriteLayout(const std::vector<SpriteRecord>& sprites) {
  uint16_t layout = 0;
  int k = 5;
  for (int g = 0; g < 3; ++g) {
    bool present = false;
    for (const SpriteRecord& s : sprites) {
      const auto values = spriteValues(s);
      for (int v = kGroupFirst[g]; v < kGroupFirst[g + 1]; ++v) present = present || values[v] != 0;
    }
    if (!present) {
      layout |= 1 << g;
      continue;
    }
    for (int v = kGroupFirst[g]; v < kGroupFirst[g + 1]; ++v, ++k) {
      bool oneByte = true;
      for (const SpriteRecord& s : sprites) oneByte = oneByte && fitsOneByte(v, spriteValues(s)[v]);
      if (oneByte) layout |= 1 << k;
    }
  }
  return layout;
}

Bytes writeSpriteSet(const SpriteSet& set) {
  requireRange(set.sheet, 0, 1023, "sheet index");
  require(set.sprites.size() <= kMaxSprites, "sprite count", std::to_string(set.sprites.size()) + " is more than 4095");
  require(set.attributes.empty() || set.attributes.size() == set.sprites.size(), "attributes",
          std::to_string(set.attributes.size()) + " given for " + std::to_string(set.sprites.size()) + " sprites");
  for (size_t i = 0; i < set.attributes.size(); ++i) requireRange(set.attributes[i], 0, 3, itemName("attribute", i));
  std::vector<std::array<int16_t, 10>> values;
  for (size_t i = 0; i < set.sprites.size(); ++i) {
    checkSprite(set.sprites[i], i);
    values.push_back(spriteValues(set.sprites[i]));
  }
  const uint16_t layout = set.layout ? *set.layout : narrowestSpriteLayout(set.sprites);
  const std::array<int, 10> widths = valueWidths(layout, values);
  ByteWriter block;
  for (int v = 0; v < 10; ++v) {
    for (const auto& sprite : values) {
      if (widths[v] == 1) block.u8(static_cast<uint16_t>(sprite[v]));
      if (widths[v] == 2) block.u16(static_cast<uint16_t>(sprite[v]));
    }
  }
  require(block.size() <= kMaxValueBlock, "value block",
          std::to_string(block.size()) + " bytes do not fit the signed 16-bit block length");
  ByteWriter out;
  out.u16(set.sheet);
  out.u8(0);
  out.u16(static_cast<uint32_t>(4 + block.size()));
  out.u16(layout);
  out.u16(static_cast<uint32_t>(set.sprites.size() | (set.attributes.empty() ? 0 : 0x2000)));
  out.bytes(block.data());
  if (!set.attributes.empty()) appendAttributes(out, set.attributes);
  return out.take();
}

}  // namespace content
