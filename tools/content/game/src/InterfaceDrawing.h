#pragma once

// Drawing steps of the interface art and the builder that turns pictures,
// frames and animations into an interface set (InterfaceArt.h): the
// pictures are packed into one sheet, which is palettised once at the end;
// the flat-coloured spots found in the pictures are then painted again
// with palette entries of their own, so that no colour reduction touches
// them.

#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "InterfaceArt.h"

namespace gamecontent {

// A transparent picture of w x h.
content::RgbaImage blankPicture(int w, int h);
// Fills the rectangle (clipped to the picture) with an opaque colour
// (0xRRGGBB).
void fillRect(content::RgbaImage& image, int x, int y, int w, int h, uint32_t colour);
// A `thickness` wide outline inside the rectangle.
void outlineRect(content::RgbaImage& image, int x, int y, int w, int h, int thickness, uint32_t colour);
// A filled ellipse inside the rectangle.
void fillEllipse(content::RgbaImage& image, int x, int y, int w, int h, uint32_t colour);
// Makes the rectangle transparent.
void clearRect(content::RgbaImage& image, int x, int y, int w, int h);
// A box of w x h: `fill` inside a `border` two pixels wide, the corners
// cut by two pixels (the look of the game's boards).
content::RgbaImage boxPicture(int w, int h, uint32_t fill, uint32_t border);
// A ring of w x h, `thickness` wide, corners cut: a highlight.
content::RgbaImage ringPicture(int w, int h, int thickness, uint32_t colour);
// A 2 x 2 spot of `colour` at (x, y).
void paintSpotPixels(content::RgbaImage& image, int x, int y, uint32_t colour);
// The picture scaled by a whole factor, nearest neighbour (pixel art).
content::RgbaImage scaleUp(const content::RgbaImage& image, int factor);
// The picture with every opaque pixel a shade of grey.
content::RgbaImage greyed(const content::RgbaImage& image);

// Text drawn with one of the game's glyph faces (0: the menus' 6x13 in dark
// brown, 1: the counter's bold 9x18 in white with a dark brown outline)
// onto a picture just large enough for it.
content::RgbaImage textPicture(const std::filesystem::path& game, const std::u16string& text, int face);

// A Pekka Kana 2 cut (an 8-bit BMP under art/pk2) with its light cyan
// ground transparent.
content::RgbaImage pk2Picture(const std::filesystem::path& game, const char* file);

// Every spot colour of the interface elements and of Art.h's spots().
const std::set<uint32_t>& spotColours();

// Builds one interface set. Sprites are placed by index (`put`) or at the
// first free index (`add`); frames and animations are appended in order.
class KitBuilder {
 public:
  explicit KitBuilder(int sheetIndex) : sheetIndex_(sheetIndex) {}

  // A sprite of `picture` drawn at (x, y) from its drawing position. The
  // spots in the picture (spotColours()) are kept.
  int add(const content::RgbaImage& picture, int x = 0, int y = 0);
  void put(int index, const content::RgbaImage& picture, int x = 0, int y = 0);

  // A frame of parts and boxes; returns its index.
  int frame(std::vector<content::FramePart> parts, std::vector<content::FrameBox> boxes = {});
  // An animation: `loops` (negative: endless) over steps of (frame,
  // duration in milliseconds, dx, dy).
  struct Step {
    int frame;
    int milliseconds;
    int dx = 0;
    int dy = 0;
  };
  void animation(int loops, const std::vector<Step>& steps);
  int frameCount() const { return static_cast<int>(anims_.frames.size()); }

  // The set: sheet, sprites and (when it has frames) its animations.
  InterfaceKit finish();

 private:
  struct Entry {
    content::RgbaImage picture;
    int x = 0;
    int y = 0;
    bool used = false;
  };
  int sheetIndex_;
  std::vector<Entry> entries_;
  content::AnimationSet anims_;
};

// Boxes 0..n-1 with box i of type i: those given, the others zero-size.
struct BoxAt {
  int index;
  int x;
  int y;
  int width;
  int height;
};
std::vector<content::FrameBox> typedBoxes(int count, const std::vector<BoxAt>& boxes);

}  // namespace gamecontent
