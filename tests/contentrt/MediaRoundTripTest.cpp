// Images and sounds written by the PNG and WAV writers and read by the
// engine and the platform: palette PNGs through the palette walks (the
// palette found right after the header, the transparent index in the tRNS
// chunk right after it, another palette swapped in for a decode) and the
// image decoder; RGBA PNGs through the decoder; WAV files through the
// platform's WAV reader.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ContentFixtures.h"
#include "HALWaveFile.h"
#include "PackFixtures.h"
#include "PngWriter.h"
#include "RoundTrip.h"
#include "VMTestEnv.h"
#include "WavWriter.h"
#include "tq_Resources.h"

using content::Bytes;
using content::IndexedImage;
using content::RgbaImage;
using contentrt::surfaceColours;
using tq::Resources;

namespace {

// `entries` palette entries of distinct opaque colours; `alphas` gives the
// alpha of the first entries.
std::vector<uint32_t> palette(size_t entries, std::vector<uint8_t> alphas = {}) {
  std::vector<uint32_t> out;
  for (size_t k = 0; k < entries; ++k) {
    const uint32_t alpha = k < alphas.size() ? alphas[k] : 0xFF;
    out.push_back(alpha << 24 | static_cast<uint32_t>(k * 37 % 256) << 16 | static_cast<uint32_t>(255 - k) << 8 |
                  static_cast<uint32_t>(k * 11 % 256));
  }
  return out;
}

IndexedImage indexed(int width, int height, std::vector<uint32_t> colours) {
  IndexedImage image{width, height, {}, std::move(colours)};
  for (int i = 0; i < width * height; ++i) image.indices.push_back(static_cast<uint8_t>(i * 7 % image.palette.size()));
  return image;
}

std::vector<uint32_t> argbOf(const IndexedImage& image) {
  return contentrt::regionOf(image, 0, 0, image.width, image.height);
}

// The palette array the engine reads: the PLTE data (red, green, blue per
// entry), then 4 CRC bytes.
Bytes plteData(const std::vector<uint32_t>& colours) {
  Bytes out;
  for (uint32_t c : colours) out.insert(out.end(), {static_cast<uint8_t>(c >> 16), static_cast<uint8_t>(c >> 8), static_cast<uint8_t>(c)});
  return out;
}

// The first entry whose alpha is 0, or -1.
int32_t firstTransparent(const std::vector<uint32_t>& colours) {
  for (size_t i = 0; i < colours.size(); ++i) {
    if (colours[i] >> 24 == 0) return static_cast<int32_t>(i);
  }
  return -1;
}

TEST(MediaRoundTrip, PalettePngsThroughThePaletteWalksAndTheDecoder) {
  VMTestEnv::start();
  struct Case {
    std::string what;
    IndexedImage image;
  };
  std::vector<uint8_t> halfThenClear(255, 0x80);
  halfThenClear.push_back(0);
  const std::vector<Case> cases = {
      {"one opaque entry", indexed(1, 1, palette(1))},
      {"two entries, the second transparent", indexed(3, 2, palette(2, {0xFF, 0}))},
      {"the fixture", content::fixtures::paletteImage().image},
      {"16 entries, translucent ones before the transparent one", indexed(17, 5, palette(16, {0x80, 0x40, 0xFF, 0, 0}))},
      {"translucent entries, none transparent", indexed(4, 4, palette(8, {0x80, 0xC0}))},
      {"256 entries, the last transparent", indexed(300, 2, palette(256, halfThenClear))},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Bytes png = content::writePng(c.image);
    contentrt::loadPack({{-3, png}});
    VMPtr<VMArray<int8_t>> found = Resources::getPalette(0);
    ASSERT_TRUE(found);
    const Bytes bytes = pack_fixtures::nativeBytes(found);
    ASSERT_EQ(bytes.size(), 3 * c.image.palette.size() + 4);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.end() - 4), plteData(c.image.palette));
    EXPECT_EQ(Resources::paletteOffset, 8 + 25 + 8);  // PLTE right after IHDR
    EXPECT_EQ(Resources::getTransparentIndex(0), firstTransparent(c.image.palette));
    EXPECT_EQ(surfaceColours(contentrt::pixels(Resources::getImage(0))), surfaceColours(argbOf(c.image)));
    // Another palette of the same length swapped in: its colours, this
    // image's transparency; the pack data as before afterwards.
    IndexedImage other = c.image;
    // (Other colours, none of them the masked surfaces' key colour magenta,
    // which an image with clear pixels cannot show opaque.)
    for (uint32_t& colour : other.palette) colour ^= 0x336699u;
    VMPtr<VMArray<int8_t>> otherPng = pack_fixtures::javaBytes(content::writePng(other));
    VMPtr<VMArray<int8_t>> swapped = Resources::readPalette(Resources::openStream(otherPng, 0, otherPng->length));
    EXPECT_EQ(surfaceColours(contentrt::pixels(Resources::getImage(0, swapped))), surfaceColours(argbOf(other)));
    EXPECT_EQ(contentrt::bytesOf(0), png);
  }
}

TEST(MediaRoundTrip, RgbaPngsDecodeToTheirPixels) {
  VMTestEnv::start();
  std::vector<uint32_t> ramp;
  for (uint32_t i = 0; i < 64 * 3; ++i) ramp.push_back((i % 3 == 0 ? 0xFFu : i % 3 == 1 ? 0x80u : 0u) << 24 | i * 0x010203u);
  const std::vector<RgbaImage> cases = {content::fixtures::rgbaImage(), {1, 1, {0xFF123456}}, {64, 3, ramp}};
  for (const RgbaImage& image : cases) {
    contentrt::loadPack({{-3, content::writePng(image)}});
    EXPECT_EQ(surfaceColours(contentrt::pixels(Resources::getImage(0))), surfaceColours(image.pixels))
        << image.width << " x " << image.height;
    EXPECT_FALSE(Resources::getPalette(0));
    EXPECT_EQ(Resources::getTransparentIndex(0), -1);
  }
}

TEST(MediaRoundTrip, WavFilesThroughThePlatformReader) {
  struct Case {
    std::string what;
    content::PcmSound sound;
  };
  const std::vector<Case> cases = {
      {"the fixture", content::fixtures::shortSound().sound},
      {"stereo 16-bit at 44100 Hz", {2, 44100, 16, content::pcm16({-32768, 32767, 0, -1, 1, 2})}},
      {"mono 8-bit at 1 Hz, an odd number of bytes", {1, 1, 8, {0, 128, 255}}},
      {"stereo 8-bit at 384000 Hz", {2, 384000, 8, {1, 2, 3, 4}}},
      {"one 16-bit frame", {1, 8000, 16, content::pcm16({-5})}},
  };
  for (const Case& c : cases) {
    const Bytes wav = content::writeWav(c.sound);
    HALWaveInfo info{};
    ASSERT_EQ(HAL_parseWave(wav.data(), static_cast<int32_t>(wav.size()), &info), HAL_OK) << c.what;
    EXPECT_EQ(info.channels, c.sound.channels) << c.what;
    EXPECT_EQ(info.sampleRate, static_cast<uint32_t>(c.sound.sampleRate)) << c.what;
    EXPECT_EQ(info.bitsPerSample, c.sound.bitsPerSample) << c.what;
    EXPECT_EQ(info.dataOffset, 44) << c.what;
    ASSERT_EQ(info.dataLength, static_cast<int32_t>(c.sound.samples.size())) << c.what;
    EXPECT_EQ(Bytes(wav.begin() + info.dataOffset, wav.end()), c.sound.samples) << c.what;
  }
}

}  // namespace
