#include "CeFont.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <mutex>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "CeText.h"

struct CeFont::Glyph {
  int32_t advance = 0;
  int32_t left = 0;  // from the pen to the bitmap's left edge
  int32_t top = 0;   // from the baseline up to the bitmap's top edge
  int32_t width = 0;
  int32_t rows = 0;
  std::vector<uint8_t> coverage;  // width x rows, 0..255
};

struct CeFont::Face {
  FT_Face face = nullptr;
  std::unordered_map<char32_t, Glyph> glyphs;
};

namespace {

// FreeType's library object. Faces are made and dropped under its mutex;
// each face is then used by its own font only. It is never destroyed, so a
// font freed late in the process's exit still finds it.
std::mutex libraryMutex;
FT_Library library() {
  static FT_Library lib = [] {
    FT_Library made = nullptr;
    return FT_Init_FreeType(&made) == 0 ? made : nullptr;
  }();
  return lib;
}

constexpr std::string_view kWine = "/usr/share/wine/fonts/";
constexpr std::string_view kLiberation = "/usr/share/fonts/truetype/liberation2/";
constexpr std::string_view kLiberationOld = "/usr/share/fonts/truetype/liberation/";
constexpr std::string_view kDejaVu = "/usr/share/fonts/truetype/dejavu/";

// Font files to try for a face, best first. Index: monospace * 4 + bold * 2 + italic.
std::vector<std::string> candidates(bool mono, bool bold, bool italic) {
  static const char* const liberation[8] = {
      "LiberationSans-Regular.ttf", "LiberationSans-Italic.ttf",
      "LiberationSans-Bold.ttf",    "LiberationSans-BoldItalic.ttf",
      "LiberationMono-Regular.ttf", "LiberationMono-Italic.ttf",
      "LiberationMono-Bold.ttf",    "LiberationMono-BoldItalic.ttf"};
  static const char* const dejavu[8] = {
      "DejaVuSans.ttf",     "DejaVuSans-Oblique.ttf",     "DejaVuSans-Bold.ttf",
      "DejaVuSans-BoldOblique.ttf", "DejaVuSansMono.ttf", "DejaVuSansMono-Oblique.ttf",
      "DejaVuSansMono-Bold.ttf",    "DejaVuSansMono-BoldOblique.ttf"};
  const int index = (mono ? 4 : 0) + (bold ? 2 : 0) + (italic ? 1 : 0);
  std::vector<std::string> files;
  // Wine's Tahoma has the phone face's metrics; like the phone's own
  // Tahoma it has no italic file, so italic is slanted when drawn.
  if (!mono) files.push_back(std::string(kWine) + (bold ? "tahomabd.ttf" : "tahoma.ttf"));
  files.push_back(std::string(kLiberation) + liberation[index]);
  files.push_back(std::string(kLiberationOld) + liberation[index]);
  files.push_back(std::string(kDejaVu) + dejavu[index]);
  return files;
}

int32_t roundPixels(FT_Pos value26dot6) { return static_cast<int32_t>((value26dot6 + 32) >> 6); }

// One character of UTF-16 text at `i`, which moves past it; a lone
// surrogate reads as the replacement character.
char32_t nextChar(const char16_t* text, int32_t count, int32_t& i) {
  size_t next = static_cast<size_t>(i);
  const char32_t c =
      CeText::nextCodePoint(std::u16string_view(text, static_cast<size_t>(count)), next, CeTextPolicy::kReplace);
  i = static_cast<int32_t>(next);
  return c;
}

// The end of the line starting at `start`; `next` receives where the next
// line starts. "\r\n", "\n" and "\r" each end a line.
int32_t lineEnd(const char16_t* text, int32_t count, int32_t start, int32_t& next) {
  int32_t end = start;
  while (end < count && text[end] != u'\n' && text[end] != u'\r') ++end;
  next = end;
  if (next < count) {
    const bool crlf = text[next] == u'\r' && next + 1 < count && text[next + 1] == u'\n';
    next += crlf ? 2 : 1;
  }
  return end;
}

uint16_t blend565(uint16_t under, uint32_t rgb, uint32_t coverage) {
  const uint32_t fr = (rgb >> 19) & 0x1F, fg = (rgb >> 10) & 0x3F, fb = (rgb >> 3) & 0x1F;
  if (coverage >= 255) return static_cast<uint16_t>((fr << 11) | (fg << 5) | fb);
  const int32_t br = under >> 11, bg = (under >> 5) & 0x3F, bb = under & 0x1F;
  const auto mix = [coverage](int32_t back, int32_t front) {
    return back + ((front - back) * static_cast<int32_t>(coverage) + 127) / 255;
  };
  return static_cast<uint16_t>((mix(br, fr) << 11) | (mix(bg, fg) << 5) | mix(bb, fb));
}

}  // namespace

CeFont::~CeFont() {
  if (face_ && face_->face) {
    std::lock_guard<std::mutex> lock(libraryMutex);
    FT_Done_Face(face_->face);
  }
}

std::unique_ptr<CeFont> CeFont::create(const Description& description) {
  if (description.height <= 0) return nullptr;
  std::u16string name = description.faceName;
  const std::u16string boldSuffix = u" Bold";
  const bool bold = name.size() >= boldSuffix.size() &&
                    name.compare(name.size() - boldSuffix.size(), boldSuffix.size(), boldSuffix) == 0;
  if (bold) name.resize(name.size() - boldSuffix.size());
  const bool mono = name == u"Courier New";

  std::unique_ptr<CeFont> font(new CeFont());
  font->face_ = std::make_unique<Face>();
  std::lock_guard<std::mutex> lock(libraryMutex);
  if (library() == nullptr) return nullptr;
  for (const std::string& file : candidates(mono, bold, description.italic)) {
    if (FT_New_Face(library(), file.c_str(), 0, &font->face_->face) == 0) {
      font->fileName_ = file;
      break;
    }
    font->face_->face = nullptr;
  }
  FT_Face face = font->face_->face;
  if (face == nullptr) return nullptr;
  if (description.italic && (face->style_flags & FT_STYLE_FLAG_ITALIC) == 0) {
    // A face without an italic file is slanted by about 12 degrees, as the
    // phone's drawing library does; advances stay as they are.
    FT_Matrix slant{0x10000, 0x0366A, 0, 0x10000};
    FT_Set_Transform(face, &slant, nullptr);
  }
  FT_Size_RequestRec request{FT_SIZE_REQUEST_TYPE_CELL, 0, FT_Long{description.height} * 64, 0, 0};
  if (FT_Request_Size(face, &request) != 0) return nullptr;

  const FT_Size_Metrics& size = face->size->metrics;
  font->metrics_.ascent = roundPixels(size.ascender);
  font->metrics_.height = font->metrics_.ascent + roundPixels(-size.descender);
  const FT_Long gap = face->height - (face->ascender - face->descender);
  font->metrics_.externalLeading = gap > 0 ? roundPixels(FT_MulFix(gap, size.y_scale)) : 0;
  if (description.underline) {
    font->underlinePosition_ = std::max(1, roundPixels(-FT_MulFix(face->underline_position, size.y_scale)));
    font->underlineThickness_ = std::max(1, roundPixels(FT_MulFix(face->underline_thickness, size.y_scale)));
  }
  return font;
}

std::unique_ptr<CeFont> CeFont::createBoxes(int32_t advance, int32_t height, int32_t ascent) {
  if (advance < 1 || height < 1 || ascent < 1 || ascent > height) return nullptr;
  std::unique_ptr<CeFont> font(new CeFont());
  font->face_ = std::make_unique<Face>();
  font->boxAdvance_ = advance;
  font->metrics_ = Metrics{height, ascent, 0};
  font->fileName_ = "boxes";
  return font;
}

const CeFont::Glyph& CeFont::glyph(char32_t code) {
  auto found = face_->glyphs.find(code);
  if (found != face_->glyphs.end()) return found->second;
  Glyph& made = face_->glyphs[code];
  if (boxAdvance_ > 0) {
    made.advance = boxAdvance_;
    made.top = metrics_.ascent;
    made.width = boxAdvance_ - 1;
    made.rows = metrics_.ascent;
    made.coverage.assign(size_t(made.width) * made.rows, 255);
    return made;
  }
  FT_Face face = face_->face;
  if (FT_Load_Char(face, code, FT_LOAD_RENDER | FT_LOAD_TARGET_NORMAL) != 0) return made;
  const FT_GlyphSlot slot = face->glyph;
  made.advance = roundPixels(slot->advance.x);
  const FT_Bitmap& bitmap = slot->bitmap;
  if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY) return made;
  made.left = slot->bitmap_left;
  made.top = slot->bitmap_top;
  made.width = static_cast<int32_t>(bitmap.width);
  made.rows = static_cast<int32_t>(bitmap.rows);
  made.coverage.resize(size_t(made.width) * made.rows);
  for (int32_t y = 0; y < made.rows; ++y) {
    const uint8_t* row = bitmap.buffer + static_cast<ptrdiff_t>(y) * bitmap.pitch;
    std::copy(row, row + made.width, made.coverage.begin() + size_t(y) * made.width);
  }
  return made;
}

int32_t CeFont::measure(const char16_t* text, int32_t count) {
  int32_t widest = 0;
  for (int32_t start = 0, next = 0; start < count; start = next) {
    const int32_t end = lineEnd(text, count, start, next);
    int32_t width = 0;
    for (int32_t i = start; i < end;) width += glyph(nextChar(text, end, i)).advance;
    widest = std::max(widest, width);
  }
  return widest;
}

void CeFont::draw(const Target& target, const char16_t* text, int32_t count, uint32_t rgb, int32_t left,
                  int32_t top) {
  if (target.pixels == nullptr) return;
  for (int32_t start = 0, next = 0; start < count && top < target.height; start = next) {
    const int32_t end = lineEnd(text, count, start, next);
    drawLine(target, text + start, end - start, left, top, rgb);
    top += metrics_.height;
  }
}

void CeFont::drawLine(const Target& target, const char16_t* text, int32_t count, int32_t left, int32_t top,
                      uint32_t rgb) {
  const auto pixel = [&target](int64_t x, int64_t y) -> uint16_t* {
    if (x < 0 || y < 0 || x >= target.width || y >= target.height) return nullptr;
    const int64_t row = target.bottomUp ? target.height - 1 - y : y;
    return target.pixels + row * target.stride + x;
  };
  const int64_t baseline = int64_t{top} + metrics_.ascent;
  int64_t pen = left;
  for (int32_t i = 0; i < count && pen < target.width;) {
    const Glyph& g = glyph(nextChar(text, count, i));
    // Glyphs wholly left of the target cost only their advance.
    if (pen + g.left + g.width > 0) {
      for (int32_t y = 0; y < g.rows; ++y) {
        for (int32_t x = 0; x < g.width; ++x) {
          const uint8_t c = g.coverage[size_t(y) * g.width + x];
          uint16_t* p = c ? pixel(pen + g.left + x, baseline - g.top + y) : nullptr;
          if (p) *p = blend565(*p, rgb, c);
        }
      }
    }
    pen += g.advance;
  }
  for (int32_t y = 0; y < underlineThickness_; ++y) {
    for (int64_t x = std::max<int64_t>(left, 0); x < pen; ++x) {
      if (uint16_t* p = pixel(x, baseline + underlinePosition_ + y)) *p = blend565(*p, rgb, 255);
    }
  }
}
