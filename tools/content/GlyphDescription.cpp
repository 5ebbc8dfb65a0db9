#include "Descriptions.h"

#include "ContentError.h"

namespace content {

namespace {

// "A" (one character in UTF-8) or "U+0041".
char16_t codeOf(const DescriptionFile& file, const DescriptionFile::Line& line, const std::string& word) {
  if (word.size() > 2 && (word[0] == 'U' || word[0] == 'u') && word[1] == '+') {
    std::optional<long long> v = parseNumber("0x" + word.substr(2));
    if (!v || *v < 0 || *v > 0xFFFF) file.fail(line, "\"" + word + "\" is not a character of U+0000..U+FFFF");
    return static_cast<char16_t>(*v);
  }
  std::vector<std::u16string> texts = readTextFile(Bytes(word.begin(), word.end()), file.where(line));
  if (texts.size() != 1 || texts[0].size() != 1) file.fail(line, "\"" + word + "\" is not one character");
  return texts[0][0];
}

}  // namespace

GlyphFont readGlyphDescription(const DescriptionFile& file) {
  GlyphFont font;
  bool metrics = false;
  for (const DescriptionFile::Line& line : file.lines()) {
    file.requireOptions(line, {});
    if (line.keyword == "metrics") {
      file.requireWords(line, 6);
      auto m = [&](size_t i, const char* what) { return static_cast<int16_t>(file.number(line, i, -32768, 32767, what)); };
      font.metrics = {m(0, "height"), m(1, "baseline"), m(2, "missing advance"), m(3, "line height"),
                      m(4, "extra spacing"), file.number(line, 5, 0, 1, "anchor rule") != 0};
      metrics = true;
    } else if (line.keyword == "glyph") {
      file.requireWords(line, 8);
      Glyph g;
      g.code = codeOf(file, line, line.words[0]);
      const char* names[7] = {"sheet x", "sheet y", "width", "height", "x offset", "y offset", "advance"};
      int16_t v[7];
      for (size_t i = 0; i < 7; ++i) v[i] = static_cast<int16_t>(file.number(line, i + 1, -32768, 32767, names[i]));
      g.sheetX = v[0], g.sheetY = v[1], g.width = v[2], g.height = v[3];
      g.xOffset = v[4], g.yOffset = v[5], g.advance = v[6];
      font.glyphs.push_back(g);
    } else {
      file.fail(line, "unknown statement \"" + line.keyword + "\"");
    }
  }
  if (!metrics) throw ContentError(file.name(), "a glyph description needs its metrics line");
  return font;
}

}  // namespace content
