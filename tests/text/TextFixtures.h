#pragma once

// What the text tests share: glyph fonts loaded from a pack the test
// writes, mutable images to draw on and their pixels.

#include <cstdint>
#include <vector>

#include "GlyphFontWriter.h"
#include "PackFixtures.h"
#include "javax_microedition_lcdui_Image.h"
#include "tq_Gob.h"

namespace text_fixtures {

using Image = javax::microedition::lcdui::Image;
using Gobs = VMArray<tq::Gob>;

// The font's glyph set read through the sprite-set loader from pack
// `pack` (sheet at index 0, set at index 1), written into `folder`.
VMPtr<Gobs> loadGlyphs(const pack_fixtures::ProgramFolder& folder, const content::GlyphFont& font, int pack = 2);
// The fixture's sheet, decoded.
VMPtr<Image> sheetImage();
// A w x h mutable image filled dark grey (the fixture sheet is white and
// transparent, so its glyphs show on it).
VMPtr<Image> blankImage(int32_t w, int32_t h);
std::vector<int32_t> pixels(const VMPtr<Image>& image);

// A glyph set of seven glyphs for the codes 1 to 7, no images, every
// advance and the missing-glyph advance 1: text width in characters.
// Height and line height 10, baseline 8; prepared.
VMPtr<Gobs> fixedAdvanceGlyphs();

}  // namespace text_fixtures
