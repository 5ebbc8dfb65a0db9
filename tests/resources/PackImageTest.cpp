// Images from packs: the stored colours, another palette swapped in for one
// decode and swapped back, a failed decode that leaves both arrays as they
// were, the palette search, and an image decoded straight from its part
// file in a file-table pack.

#include <gtest/gtest.h>

#include <vector>

#include "JavaTestSupport.h"
#include "PackFixtures.h"
#include "PngWriter.h"
#include "SimplePackWriter.h"
#include "VMTestEnv.h"
#include "java_io_EOFException.h"
#include "java_lang_IllegalArgumentException.h"
#include "tq_Resources.h"

using namespace pack_fixtures;
using tq::Resources;
using Image = javax::microedition::lcdui::Image;

namespace {

constexpr uint32_t kRed = 0xFFF80000;
constexpr uint32_t kGreen = 0xFF00FC00;
constexpr uint32_t kBlue = 0xFF0000F8;
constexpr uint32_t kWhite = 0xFFF8FCF8;
const Bytes kRedGreen = content::writePng(content::IndexedImage{2, 1, {0, 1}, {0xFFFF0000, 0xFF00FF00}});
const Bytes kBlueWhite = content::writePng(content::IndexedImage{2, 1, {0, 1}, {0xFF0000FF, 0xFFFFFFFF}});

// The pixels as the RGB565 surfaces keep them: 5, 6 and 5 bits.
std::vector<uint32_t> pixels(const VMPtr<Image>& image) {
  VMPtr<VMArray<int32_t>> rgb = VMArray<int32_t>::create(image->getWidth() * image->getHeight());
  image->getRGB(rgb, 0, image->getWidth(), 0, 0, image->getWidth(), image->getHeight());
  std::vector<uint32_t> out;
  for (int32_t i = 0; i < rgb->length; ++i) out.push_back(static_cast<uint32_t>(rgb->at(i)) & 0xFFF8FCF8u);
  return out;
}

TEST(PackImage, APaletteIsSwappedInForOneDecode) {
  ProgramFolder folder;
  VMTestEnv::start();
  folder.put("RP2.rp", content::writeSimplePack({{0, {1, 2, 3}}, {-3, kRedGreen}}));
  EXPECT_EQ(pixels(Resources::getImage(2049)), (std::vector<uint32_t>{kRed, kGreen}));
  const Bytes packBefore = nativeBytes(Resources::getDataArray(2049));
  VMPtr<VMArray<int8_t>> palette = javaBytes(paletteOf(kBlueWhite));
  EXPECT_EQ(pixels(Resources::getImage(2049, palette)), (std::vector<uint32_t>{kBlue, kWhite}));
  EXPECT_EQ(nativeBytes(palette), paletteOf(kBlueWhite));
  EXPECT_EQ(nativeBytes(Resources::getDataArray(2049)), packBefore);
  EXPECT_EQ(pixels(Resources::getImage(2049)), (std::vector<uint32_t>{kRed, kGreen}));
}

TEST(PackImage, AFailedDecodeLeavesBothArraysAsTheyWere) {
  ProgramFolder folder;
  VMTestEnv::start();
  Bytes broken = kRedGreen;
  broken.resize(broken.size() - 20);  // IDAT cut, no IEND
  folder.put("RP2.rp", content::writeSimplePack({{0, broken}}));
  const Bytes packBefore = nativeBytes(Resources::getDataArray(2048));
  VMPtr<VMArray<int8_t>> palette = javaBytes(paletteOf(kBlueWhite));
  java_test::thrownMessage<java::lang::IllegalArgumentException>([&] { Resources::getImage(2048, palette); });
  EXPECT_EQ(nativeBytes(palette), paletteOf(kBlueWhite));
  EXPECT_EQ(nativeBytes(Resources::getDataArray(2048)), packBefore);
}

TEST(PackImage, PaletteSearchAndSwap) {
  VMTestEnv::start();
  VMPtr<VMArray<int8_t>> png = javaBytes(kRedGreen);
  EXPECT_EQ(Resources::findPalette(Resources::openStream(png, 0, png->length)), 6);
  EXPECT_EQ(Resources::paletteOffset, 41);

  // No PLTE before IEND: -1, and nothing is swapped.
  const Bytes noPalette = cat({Bytes(kRedGreen.begin(), kRedGreen.begin() + 33), Bytes(kRedGreen.end() - 12, kRedGreen.end())});
  VMPtr<VMArray<int8_t>> plain = javaBytes(noPalette);
  EXPECT_EQ(Resources::findPalette(Resources::openStream(plain, 0, plain->length)), -1);
  VMPtr<VMArray<int8_t>> palette = javaBytes(paletteOf(kBlueWhite));
  Resources::swapPalette(plain, 0, palette);
  EXPECT_EQ(nativeBytes(plain), noPalette);
  EXPECT_EQ(nativeBytes(palette), paletteOf(kBlueWhite));
  // Cut before PLTE or IEND: the search runs out of data; a swap changes
  // nothing and throws nothing.
  VMPtr<VMArray<int8_t>> cut = javaBytes(Bytes(kRedGreen.begin(), kRedGreen.begin() + 30));
  java_test::thrownMessage<java::io::EOFException>(
      [&] { Resources::findPalette(Resources::openStream(cut, 0, cut->length)); });
  Resources::swapPalette(cut, 0, palette);
  Resources::swapPalette(javaBytes(kRedGreen), 5000, palette);
  // A palette longer than the rest of the PNG is not swapped at all.
  VMPtr<VMArray<int8_t>> tail = javaBytes(Bytes(kRedGreen.begin(), kRedGreen.begin() + 45));
  Resources::swapPalette(tail, 0, palette);
  EXPECT_EQ(nativeBytes(tail), Bytes(kRedGreen.begin(), kRedGreen.begin() + 45));
  EXPECT_EQ(nativeBytes(palette), paletteOf(kBlueWhite));

  // Twice is nothing; at an offset inside a larger array.
  VMPtr<VMArray<int8_t>> inPack = javaBytes(cat({{9, 9, 9}, kRedGreen}));
  Resources::swapPalette(inPack, 3, palette);
  EXPECT_EQ(nativeBytes(palette), paletteOf(kRedGreen));
  Resources::swapPalette(inPack, 3, palette);
  EXPECT_EQ(nativeBytes(inPack), cat({{9, 9, 9}, kRedGreen}));
}

TEST(PackImage, FileTableImagesDecodeFromTheirPartFile) {
  ProgramFolder folder;
  VMTestEnv::start();
  const Bytes index = content::writePackIndex({{0, kRedGreen}, {0, kRedGreen}});
  folder.put("RP18.rp", chunkedFile({chunk("RPHe", index), chunk("VFSO", fileTableBody({{-3, 1, 0}, {-1, 2, 7}}))}));
  folder.put("RP18part1.png", kRedGreen);
  folder.put("RP18part2.rp", cat({Bytes(7, 0), kRedGreen}));
  const int32_t base = 18 * 1024;
  EXPECT_EQ(pixels(Resources::getImage(base)), (std::vector<uint32_t>{kRed, kGreen}));
  EXPECT_EQ(pixels(Resources::getImage(base + 1)), (std::vector<uint32_t>{kRed, kGreen}));
  VMPtr<VMArray<int8_t>> palette = javaBytes(paletteOf(kBlueWhite));
  EXPECT_EQ(pixels(Resources::getImage(base, palette)), (std::vector<uint32_t>{kBlue, kWhite}));
  // A part file that is not an image falls back to the bytes, which fail.
  folder.put("RP18part1.png", Bytes{1, 2, 3});
  java_test::thrownMessage<java::lang::RuntimeException>([&] { Resources::getImage(base); });
}

}  // namespace
