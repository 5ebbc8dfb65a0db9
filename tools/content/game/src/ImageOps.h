#pragma once

// The build's image steps for the picked art: reading the picked PNGs,
// cropping, scaling, recolouring and palettising. Palette images stay
// palette images through every step (a crop or a nearest-neighbour scale
// moves indices, a recolour changes palette entries), so the pixel art
// keeps its hard edges; a true-colour picture is scaled by area averaging
// and then palettised.

#include <cstdint>
#include <string>

#include "ByteWriter.h"
#include "PngWriter.h"

namespace gamecontent {

// A PNG of any colour type, as 0xAARRGGBB pixels; `name` names it in
// errors.
content::RgbaImage readPng(const content::Bytes& png, const std::string& name);

// The w x h region at (x, y), which must lie inside the image.
content::IndexedImage crop(const content::IndexedImage& image, int x, int y, int w, int h);

// Nearest-neighbour scale to w x h.
content::IndexedImage scaleNearest(const content::IndexedImage& image, int w, int h);

// Area-averaged scale to w x h (colours weighted by alpha).
content::RgbaImage scaleArea(const content::RgbaImage& image, int w, int h);

// Turns every palette entry's hue by `degrees` and scales its saturation
// and brightness; entries whose saturation is below `minSaturation` (greys,
// black, white, the transparent entry) keep their colour.
void recolour(content::IndexedImage& image, int degrees, double saturation = 1.0, double value = 1.0,
              double minSaturation = 0.15);

// A palette image of at most 256 entries: entry 0 transparent for pixels
// with alpha below 128, the others the picture's colours (the most used
// first) when there are at most `maxColours` (1..255), else that many by
// median cut; each
// pixel mapped to its nearest entry.
content::IndexedImage palettise(const content::RgbaImage& image, size_t maxColours = 255);

// Makes palette entry `index` fully transparent (the picked pixel art's
// ground colour).
void makeTransparent(content::IndexedImage& image, int index);

}  // namespace gamecontent

namespace gamecontent {

// Colours a picture: every pixel's brightness times `colour` (0xRRGGBB),
// alpha kept; greys become shades of the colour.
void tint(content::RgbaImage& image, uint32_t colour);

// Draws `top` over `image` at (x, y), blending by the top's alpha; parts
// outside the image are dropped.
void drawOver(content::RgbaImage& image, const content::RgbaImage& top, int x, int y);

// A palette image's colours as a true-colour picture.
content::RgbaImage toRgba(const content::IndexedImage& image);

// Paints a size x size square of one flat colour at (x, y), with a palette
// entry of its own (the palette must have room for it).
void paintSpot(content::IndexedImage& image, int x, int y, int size, uint32_t colour);

}  // namespace gamecontent
