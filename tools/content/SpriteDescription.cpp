#include "Descriptions.h"

namespace content {

namespace {

constexpr long long kShortMin = -32768, kShortMax = 32767;

SpriteRecord spriteOf(const DescriptionFile& file, const DescriptionFile::Line& line) {
  file.requireWords(line, 10, 11);
  file.requireOptions(line, {"attr"});
  int16_t v[10];
  static const char* const kNames[10] = {"x",     "y",     "sheet x", "sheet y",   "width",
                                         "height", "box x", "box y",  "box width", "box height"};
  for (size_t i = 0; i < 10; ++i) v[i] = static_cast<int16_t>(file.number(line, i, kShortMin, kShortMax, kNames[i]));
  SpriteRecord s{v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], false, v[8], v[9], false};
  if (line.words.size() == 11) {
    if (line.words[10] != "circle") file.fail(line, "unknown word \"" + line.words[10] + "\"");
    s.circle = true;
  }
  return s;
}

}  // namespace

SpriteSet readSpriteDescription(const DescriptionFile& file) {
  SpriteSet set;
  std::vector<int> attributes;
  bool anyAttribute = false;
  for (const DescriptionFile::Line& line : file.lines()) {
    if (line.keyword == "sprite") {
      set.sprites.push_back(spriteOf(file, line));
      anyAttribute |= line.options.count("attr") != 0;
      attributes.push_back(static_cast<int>(file.option(line, "attr", 0, 3, 0)));
    } else if (line.keyword == "grid") {
      file.requireWords(line, 4, 6);
      file.requireOptions(line, {});
      const int count = static_cast<int>(file.number(line, 0, 0, 4095, "count"));
      const int w = static_cast<int>(file.number(line, 1, 1, kShortMax, "width"));
      const int h = static_cast<int>(file.number(line, 2, 1, kShortMax, "height"));
      const int columns = static_cast<int>(file.number(line, 3, 1, 4095, "columns"));
      const int16_t x = line.words.size() > 4 ? static_cast<int16_t>(file.number(line, 4, kShortMin, kShortMax, "x")) : 0;
      if (line.words.size() == 5) file.fail(line, "grid takes both x and y or neither");
      const int16_t y = line.words.size() > 5 ? static_cast<int16_t>(file.number(line, 5, kShortMin, kShortMax, "y")) : 0;
      for (int i = 0; i < count; ++i) {
        const long long sx = static_cast<long long>(i % columns) * w, sy = static_cast<long long>(i / columns) * h;
        if (sx > kShortMax || sy > kShortMax) file.fail(line, "the grid reaches past a 16-bit sheet position");
        set.sprites.push_back({x, y, static_cast<int16_t>(sx), static_cast<int16_t>(sy), static_cast<int16_t>(w),
                               static_cast<int16_t>(h), 0, 0, false, 0, 0, false});
        attributes.push_back(0);
      }
    } else if (line.keyword == "layout") {
      file.requireWords(line, 1);
      set.layout = static_cast<uint16_t>(file.number(line, 0, 0, 0xFFFF, "layout word"));
    } else {
      file.fail(line, "unknown statement \"" + line.keyword + "\"");
    }
  }
  if (anyAttribute) set.attributes.assign(attributes.begin(), attributes.end());
  return set;
}

}  // namespace content
