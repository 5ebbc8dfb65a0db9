#include <gtest/gtest.h>
#include <png.h>

#include <cstring>
#include <string>

#include "PngWriter.h"
#include "TestBytes.h"
#include "WavWriter.h"

namespace content {
namespace {

// The chunk types of a PNG in file order, with their data lengths.
std::vector<std::pair<std::string, uint32_t>> chunks(const Bytes& png) {
  std::vector<std::pair<std::string, uint32_t>> out;
  for (size_t p = 8; p + 8 <= png.size();) {
    const uint32_t length = uint32_t{png[p]} << 24 | png[p + 1] << 16 | png[p + 2] << 8 | png[p + 3];
    out.emplace_back(std::string(png.begin() + static_cast<long>(p) + 4, png.begin() + static_cast<long>(p) + 8), length);
    p += 12 + length;
  }
  return out;
}

// The image decoded by libpng into 0xAARRGGBB words.
std::vector<uint32_t> decode(const Bytes& png, int& width, int& height) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  EXPECT_TRUE(png_image_begin_read_from_memory(&image, png.data(), png.size())) << image.message;
  image.format = PNG_FORMAT_BGRA;
  std::vector<uint32_t> pixels(PNG_IMAGE_SIZE(image) / 4);
  EXPECT_TRUE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) << image.message;
  width = static_cast<int>(image.width);
  height = static_cast<int>(image.height);
  return pixels;
}

TEST(PngWriter, RgbaImageDecodesToItsPixels) {
  const RgbaImage image{3, 2, {0xFF112233, 0x00000000, 0x80FF00FF, 0xFFFFFFFF, 0x7F010203, 0xFF000000}};
  const Bytes png = writePng(image);
  const std::vector<std::pair<std::string, uint32_t>> expected = {{"IHDR", 13}, {"IDAT", chunks(png)[1].second}, {"IEND", 0}};
  EXPECT_EQ(chunks(png), expected);
  EXPECT_EQ(png[24], 8);  // bit depth
  EXPECT_EQ(png[25], 6);  // colour type RGBA
  int width = 0;
  int height = 0;
  EXPECT_EQ(decode(png, width, height), image.pixels);
  EXPECT_EQ(width, 3);
  EXPECT_EQ(height, 2);
}

TEST(PngWriter, PaletteImageHasPaletteThenTransparencyRightAfterTheHeader) {
  const IndexedImage image{2, 2, {0, 1, 2, 1}, {0xFFFF0000, 0x00000000, 0x80102030, 0xFF00FF00}};
  const Bytes png = writePng(image);
  const auto found = chunks(png);
  ASSERT_GE(found.size(), 5u);
  EXPECT_EQ(found[0], std::make_pair(std::string("IHDR"), 13u));
  EXPECT_EQ(found[1], std::make_pair(std::string("PLTE"), 12u));
  EXPECT_EQ(found[2], std::make_pair(std::string("tRNS"), 3u));  // up to the last entry below 0xFF
  EXPECT_EQ(found[3].first, "IDAT");
  EXPECT_EQ(found.back().first, "IEND");
  EXPECT_EQ(png[25], 3);
  // The palette data at 8 + 25 + 8, the transparency after its CRC.
  EXPECT_EQ(Bytes(png.begin() + 41, png.begin() + 53), hexBytes("FF0000 000000 102030 00FF00"));
  EXPECT_EQ(Bytes(png.begin() + 65, png.begin() + 68), hexBytes("FF 00 80"));
  int width = 0;
  int height = 0;
  const std::vector<uint32_t> expected = {0xFFFF0000, 0x00000000, 0x80102030, 0x00000000};
  const std::vector<uint32_t> pixels = decode(png, width, height);
  ASSERT_EQ(pixels.size(), 4u);
  EXPECT_EQ(pixels[0], expected[0]);
  EXPECT_EQ(pixels[1] >> 24, 0u);
  EXPECT_EQ(pixels[2] >> 24, 0x80u);
}

TEST(PngWriter, OpaquePaletteHasNoTransparency) {
  const Bytes png = writePng(IndexedImage{1, 1, {0}, {0xFF000000}});
  const auto found = chunks(png);
  EXPECT_EQ(found[1].first, "PLTE");
  EXPECT_EQ(found[2].first, "IDAT");
}

TEST(PngWriter, RefusesWhatTheDecoderCannotHold) {
  expectRefusal([] { writePng(IndexedImage{1, 1, {0}, {}}); }, "palette length");
  expectRefusal([] { writePng(IndexedImage{1, 1, {0}, std::vector<uint32_t>(257)}); }, "palette length");
  expectRefusal([] { writePng(IndexedImage{2, 1, {0, 2}, {0, 0}}); }, "PNG pixel 1");
  expectRefusal([] { writePng(IndexedImage{2, 1, {0}, {0}}); }, "PNG pixels");
  expectRefusal([] { writePng(RgbaImage{0, 1, {}}); }, "PNG width");
  expectRefusal([] { writePng(RgbaImage{1, 32768, {}}); }, "PNG height");
  expectRefusal([] { writePng(RgbaImage{8192, 4096, {}}); }, "PNG");
}

// Little-endian fields of a WAV header.
uint32_t le(const Bytes& b, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | b.at(at + i);
  return v;
}

TEST(WavWriter, CanonicalHeaderThenTheSamples) {
  const PcmSound sound{2, 22050, 16, pcm16({1, -1, 0x1234, -32768})};
  const Bytes wav = writeWav(sound);
  ASSERT_EQ(wav.size(), 44u + 8);
  EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4), "RIFF");
  EXPECT_EQ(le(wav, 4, 4), 36u + 8);
  EXPECT_EQ(std::string(wav.begin() + 8, wav.begin() + 16), "WAVEfmt ");
  EXPECT_EQ(le(wav, 16, 4), 16u);
  EXPECT_EQ(le(wav, 20, 2), 1u);      // PCM
  EXPECT_EQ(le(wav, 22, 2), 2u);      // channels
  EXPECT_EQ(le(wav, 24, 4), 22050u);  // rate
  EXPECT_EQ(le(wav, 28, 4), 88200u);  // bytes per second
  EXPECT_EQ(le(wav, 32, 2), 4u);      // block align
  EXPECT_EQ(le(wav, 34, 2), 16u);     // bits
  EXPECT_EQ(std::string(wav.begin() + 36, wav.begin() + 40), "data");
  EXPECT_EQ(le(wav, 40, 4), 8u);
  EXPECT_EQ(Bytes(wav.begin() + 44, wav.end()), hexBytes("0100 FFFF 3412 0080"));
}

TEST(WavWriter, OddEightBitSoundHasNoPadByte) {
  EXPECT_EQ(writeWav(PcmSound{1, 8000, 8, {0x80, 0x81, 0x7F}}).size(), 47u);
}

TEST(WavWriter, RefusesWhatThePlatformCannotPlay) {
  expectRefusal([] { writeWav(PcmSound{3, 8000, 8, {1, 2, 3}}); }, "WAV channels");
  expectRefusal([] { writeWav(PcmSound{1, 0, 8, {1}}); }, "WAV sample rate");
  expectRefusal([] { writeWav(PcmSound{1, 8000, 24, {1, 2, 3}}); }, "WAV bits per sample");
  expectRefusal([] { writeWav(PcmSound{1, 8000, 16, {}}); }, "WAV samples");
  expectRefusal([] { writeWav(PcmSound{2, 8000, 16, {1, 2}}); }, "WAV samples");
}

}  // namespace
}  // namespace content
