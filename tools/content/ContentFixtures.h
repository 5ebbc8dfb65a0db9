#pragma once

#include <string>
#include <vector>

#include "AnimationSetWriter.h"
#include "ChunkedPackWriter.h"
#include "GlyphFontWriter.h"
#include "LevelWriter.h"
#include "PngWriter.h"
#include "SimplePackWriter.h"
#include "SpriteSetWriter.h"
#include "WavWriter.h"

// Small content for the engine's tests and the seeds of its fuzz corpora.
// Each fixture gives its description (what a test expects the engine to
// read) beside the bytes the writers make of it; the same call always
// gives the same bytes.
namespace content::fixtures {

// A pack's resources and its files under their resource-folder names.
struct PackFixture {
  int pack = 0;
  std::vector<PackResource> resources;
  PackFiles files;
};

// Three resources (a palette PNG, a WAV of type 1, an empty one) in one
// simple pack file.
PackFixture simplePack(int pack = 2);
// The same resources in a chunked pack whose data is split over `parts`
// part files.
PackFixture splitPack(int pack = 5, int parts = 2);
// The same resources in a chunked pack with a file table: RP<pack>part0.png,
// RP<pack>part1.wav, RP<pack>part2.rp.
PackFixture fileTablePack(int pack = 18);

// The three resources the pack fixtures hold.
std::vector<PackResource> packResources();

// An image in both forms.
struct ImageFixture {
  IndexedImage image;
  Bytes png;
};
// A 4 x 3 palette image with a transparent entry 1 and a half-transparent
// entry 2, of four palette entries.
ImageFixture paletteImage();
// A 2 x 2 RGBA image.
RgbaImage rgbaImage();

// Eight glyphs (space declared empty, '0', '1', 'A', 'a', 'b', U+00E9,
// U+20AC) of 4 x 6 pixels on a 32 x 6 palette sheet.
struct GlyphFontFixture {
  GlyphFont font;
  ImageFixture sheet;
  Bytes spriteSet;
};
GlyphFontFixture eightGlyphFont(uint16_t sheetIndex = 0);

// Five sprites on the palette sheet, with attributes; one declared empty.
struct SpriteSetFixture {
  SpriteSet set;
  Bytes bytes;
};
SpriteSetFixture spriteSet(uint16_t sheetIndex = 0);

struct AnimationSetFixture {
  AnimationSet set;
  Bytes bytes;
};
// Two animations over three frames, with parts, boxes and blends.
AnimationSetFixture smallAnimationSet();
// Every packed field at its limits: loops -32 and 31, 1023 steps, frame
// index 1023, offsets -512 and 511, priority 3, blend 3, duration index 63,
// durations 1 and 65535, 255 parts and 255 boxes in a frame, sprite 1023,
// box x -1024 and 1023, sizes 1023, type 31, circles.
AnimationSetFixture animationSetAtLimits();

// A level with every block, filler on, and the game's fields: the header's
// two 16-bit values, barrier (type 1: 2-bit variant; type 4: 4-bit), then
// a 16-bit value, a flag and five 16-bit parameters; landscape (type 2:
// 3-bit variant and a flag); item (type 17: 2-bit value and a flag);
// marker (type 12: no fields).
struct LevelFixture {
  Level level;
  Bytes bytes;
};
LevelFixture levelWithEveryBlock();

struct TextFixture {
  std::vector<std::u16string> texts;
  Bytes bytes;
};
// A translation table below 65536 bytes (16-bit offsets) with one-, two-
// and three-byte characters and an empty text.
TextFixture translationTable16();
// A translation table of more than 65535 bytes (32-bit offsets).
TextFixture translationTable32();
// A canvas text table of the same short texts.
TextFixture canvasTextTable();

// A quarter second of a 16-bit mono square wave at 8000 Hz.
struct SoundFixture {
  PcmSound sound;
  Bytes wav;
};
SoundFixture shortSound();

}  // namespace content::fixtures
