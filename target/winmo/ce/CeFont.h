#pragma once

#include <cstdint>
#include <memory>
#include <string>

// A font of the phone system's drawing library, rendered with FreeType from
// the host's font files.
//
// The phone names its faces "Tahoma" (the default face) and "Courier New"
// (the monospace face), with " Bold" appended for the bold weight. This
// host maps "Tahoma" to Wine's Tahoma (fonts-wine), which keeps the phone
// face's metrics, and "Courier New" to Liberation Mono (the same metrics as
// Courier New). Tahoma has no italic file, so its italic is slanted when
// drawn, as on the phone. Where those files are missing the sans face is
// Liberation Sans, and DejaVu Sans and DejaVu Sans Mono, which are always
// installed, come last. Other names get the default face.
//
// Metrics and advances are whole pixels, as the phone's drawing library
// gives them; text is measured and drawn without kerning.
//
// Ownership: whoever creates a font owns it (a unique_ptr) and may use it
// from one thread at a time; the rendered glyphs it caches are its own.
class CeFont {
 public:
  // What the program asks for, as the phone's font description has it.
  struct Description {
    std::u16string faceName;  // "Tahoma", "Courier New Bold", ...
    int32_t height = 0;       // cell height in pixels (ascent + descent)
    bool italic = false;
    bool underline = false;
  };

  struct Metrics {
    int32_t height = 0;           // ascent + descent
    int32_t ascent = 0;           // baseline below the top of the cell
    int32_t externalLeading = 0;  // extra space the face asks between lines
  };

  // A 16-bit RGB565 pixel buffer that text is drawn into. `stride` counts
  // pixels; rows run bottom-up when `bottomUp` is set (row 0 of the memory
  // is the lowest row of the picture).
  struct Target {
    uint16_t* pixels = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t stride = 0;
    bool bottomUp = false;
  };

  ~CeFont();
  CeFont(const CeFont&) = delete;
  CeFont& operator=(const CeFont&) = delete;

  // The font for `description`, or null when no font file can be loaded
  // or the height is not positive.
  static std::unique_ptr<CeFont> create(const Description& description);

  // Test seam: a font without a file whose every character is a solid box
  // `advance` - 1 pixels wide from the top of the cell down to the
  // baseline, followed by one empty column; the cell is `height` pixels
  // with the baseline `ascent` pixels below its top. Null for sizes below 1
  // or an ascent outside 1..height.
  static std::unique_ptr<CeFont> createBoxes(int32_t advance, int32_t height, int32_t ascent);

  const Metrics& metrics() const { return metrics_; }
  // The font file in use.
  const std::string& fileName() const { return fileName_; }

  // The width in pixels of the widest line of `text`: the sum of the
  // characters' advances. "\r\n", "\n" and "\r" break lines.
  int32_t measure(const char16_t* text, int32_t count);

  // Draws `text` with its top-left corner at (left, top) of `target` (a
  // corner outside the target draws the part that falls inside) in the
  // colour 0x00RRGGBB, over what is there (the background shows between
  // the strokes; glyph edges are blended). Lines follow each other at the
  // font's height; pixels outside the target are left alone.
  void draw(const Target& target, const char16_t* text, int32_t count, uint32_t rgb, int32_t left = 0,
            int32_t top = 0);

 private:
  struct Glyph;
  struct Face;
  CeFont() = default;

  const Glyph& glyph(char32_t code);
  void drawLine(const Target& target, const char16_t* text, int32_t count, int32_t left, int32_t top,
                uint32_t rgb);

  std::unique_ptr<Face> face_;
  Metrics metrics_;
  std::string fileName_;
  int32_t underlinePosition_ = 0;   // below the baseline, pixels
  int32_t underlineThickness_ = 0;  // pixels, 0 without underline
  int32_t boxAdvance_ = 0;          // a box font's advance, 0 for a real font
};
