// Drawing read back from mutable images: a sprite under the eight
// transforms, a frame of several parts (the shared sprites' offsets put
// back), alpha images at 0 and 128 with the Graphics alpha restored, a
// filtered alpha image, tiling and the platform extension's fills.

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "AnimationSetWriter.h"
#include "DrawTestSupport.h"
#include "VMTestEnv.h"
#include "tq_AnimSet.h"
#include "tq_Gob.h"
#include "tq_GobAlphaImage.h"
#include "tq_Resources.h"
#include "tq_TqCanvas.h"
#include "tq_graphics_RGBFilter.h"
#include "tq_platform_PlatformExtension.h"

using namespace draw_test;
using tq::Gob;
using Graphics = javax::microedition::lcdui::Graphics;

namespace {

// A 2 x 1 sprite, red then green, at offset (0, 0).
VMPtr<Gob> redGreen() {
  VMPtr<VMArray<int32_t>> argb = VMArray<int32_t>::create(2);
  argb->at(0) = static_cast<int32_t>(kRed);
  argb->at(1) = static_cast<int32_t>(kGreen);
  return Gob::create(argb, 2, 1, 0);
}

// The non-black pixels of an 8 x 8 image as (x, y) -> colour.
std::map<std::pair<int, int>, uint32_t> drawn(const VMPtr<Image>& image) {
  std::map<std::pair<int, int>, uint32_t> out;
  const std::vector<uint32_t> p = pixels(image);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      if (pixelAt(p, 8, x, y) != kBlack) out[{x, y}] = pixelAt(p, 8, x, y);
    }
  }
  return out;
}

TEST(Pixels, ASpriteUnderTheEightTransforms) {
  VMTestEnv::start();
  VMPtr<Gob> gob = redGreen();
  EXPECT_EQ(gob->drawMode, 1);
  using Map = std::map<std::pair<int, int>, uint32_t>;
  // Drawn at (4, 4): the mirror bits move the corner by the unswapped size.
  const Map expected[8] = {
      {{{4, 4}, kRed}, {{5, 4}, kGreen}},    // none
      {{{4, 3}, kRed}, {{5, 3}, kGreen}},    // mirror rotated 180
      {{{2, 4}, kGreen}, {{3, 4}, kRed}},    // mirror
      {{{2, 3}, kGreen}, {{3, 3}, kRed}},    // rotated 180
      {{{4, 4}, kRed}, {{4, 5}, kGreen}},    // mirror rotated 270
      {{{4, 3}, kRed}, {{4, 4}, kGreen}},    // rotated 90
      {{{2, 4}, kGreen}, {{2, 5}, kRed}},    // rotated 270
      {{{2, 3}, kGreen}, {{2, 4}, kRed}},    // mirror rotated 90
  };
  for (int t = 0; t < 8; ++t) {
    VMPtr<Image> target = blackImage(8, 8);
    gob->paint(target->getGraphics(), 4, 4, t);
    EXPECT_EQ(drawn(target), expected[t]) << "transform " << t;
  }
  // Under the mirror the offset is mirrored too: x 1, width 2 starts at
  // 4 - (2 + 1).
  gob->x = 1;
  VMPtr<Image> target = blackImage(8, 8);
  gob->paint(target->getGraphics(), 4, 4, 2);
  EXPECT_EQ(drawn(target), (Map{{{1, 4}, kGreen}, {{2, 4}, kRed}}));
}

TEST(Pixels, AFrameOfSeveralParts) {
  VMTestEnv::start();
  content::AnimationSet spec;
  spec.animations = {{-1, {{0, 0, 0, 0}}}};
  spec.frames = {{{{0, 0, 0, 0}, {0, 1, 2, 2}, {1, -1, 1, 0}}, {}}};
  spec.durations = {1};
  VMPtr<VMArray<int8_t>> data = pack_fixtures::javaBytes(content::writeAnimationSet(spec));
  VMPtr<tq::AnimSet> set = tq::AnimSet::load(1, tq::Resources::openStream(data, 0, data->length));
  VMPtr<VMArray<Gob>> gobs = VMArray<Gob>::create(2);
  gobs->set(0, redGreen());
  VMPtr<VMArray<int32_t>> blue = VMArray<int32_t>::create(1);
  blue->at(0) = static_cast<int32_t>(kBlue);
  gobs->set(1, Gob::create(blue, 1, 1, 0));
  set->setGobs(gobs);
  VMPtr<Image> target = blackImage(8, 8);
  set->getFrame(0)->paint(target->getGraphics(), 3, 3, 0);
  using Map = std::map<std::pair<int, int>, uint32_t>;
  // Part 0 at (3, 3); part 1 mirrored with its offset (1, 2) mirrored:
  // x = -(2 + 1) → 0; part 2 at (2, 4).
  EXPECT_EQ(drawn(target), (Map{{{3, 3}, kRed}, {{4, 3}, kGreen}, {{0, 5}, kGreen}, {{1, 5}, kRed}, {{2, 4}, kBlue}}));
  EXPECT_EQ(gobs->get(0)->x, 0);  // the shared sprites' offsets are back
  EXPECT_EQ(gobs->get(1)->y, 0);
  VMPtr<VMArray<int32_t>> bounds = VMArray<int32_t>::create(4);
  set->getFrameBounds(0, 0, bounds);
  EXPECT_EQ((std::vector<int32_t>(bounds->elements(), bounds->elements() + 4)), (std::vector<int32_t>{-3, 0, 5, 3}));
}

TEST(Pixels, AlphaImagesRestoreTheGraphicsAlpha) {
  VMTestEnv::start();
  VMPtr<Gob> alpha = redGreen()->toAlphaImage(0);
  EXPECT_EQ(alpha->isAlphaImage(), 1);
  EXPECT_EQ(alpha->toGob().get(), alpha.get());
  VMPtr<Image> target = blackImage(8, 8);
  VMPtr<Graphics> g = target->getGraphics();
  alpha->paint(g, 0, 0, 0);
  EXPECT_TRUE(drawn(target).empty());

  alpha->setAlpha(128);
  g->setAlpha(200);
  alpha->paint(g, 0, 0, 0);
  EXPECT_EQ(g->getAlpha(), 200);
  // The same blend as the platform's own drawing at alpha 128.
  VMPtr<Image> reference = blackImage(8, 8);
  VMPtr<Graphics> r = reference->getGraphics();
  r->setAlpha(128);
  r->drawRegion(alpha->image, 0, 0, 2, 1, 0, 0, 0, Graphics::TOP | Graphics::LEFT);
  EXPECT_EQ(pixels(target), pixels(reference));
  const uint32_t half = pixels(target)[0];
  EXPECT_NE(half, kRed);
  EXPECT_NE(half, kBlack);
}

class Swap : public tq::graphics::RGBFilter {
  VM_CLASS(Swap, tq::graphics::RGBFilter)

 public:
  int32_t filterRGB(int32_t argb) override { return argb == static_cast<int32_t>(kRed) ? kBlue : argb; }
};

TEST(Pixels, FilteredAlphaImage) {
  VMTestEnv::start();
  VMPtr<Gob> alpha = redGreen()->toGob();
  VMPtr<Swap> filter = Swap::_VM_new();
  filter->_VM_init();
  alpha->applyFilter(filter);
  EXPECT_EQ(pixels(alpha->image), (std::vector<uint32_t>{kBlue, kGreen}));
  EXPECT_EQ(alpha->drawMode, 1);
}

TEST(Pixels, TilingAndExtensionFills) {
  VMTestEnv::start();
  VMPtr<Gob> gob = redGreen();
  VMPtr<Image> target = blackImage(8, 8);
  VMPtr<Graphics> g = target->getGraphics();
  g->setClip(1, 1, 5, 2);
  gob->paintTiled(g, 0, 0);
  const std::vector<uint32_t> p = pixels(target);
  for (int x = 1; x < 6; ++x) EXPECT_EQ(pixelAt(p, 8, x, 1), x % 2 == 0 ? kRed : kGreen) << x;
  EXPECT_EQ(pixelAt(p, 8, 6, 1), kBlack);
  gob->width = 0;
  gob->paintTiled(g, 0, 0);  // returns at once

  VMPtr<tq::platform::PlatformExtension> ext = tq::TqCanvas::getPlatformExtension();
  EXPECT_EQ(ext.get(), tq::TqCanvas::getPlatformExtension().get());
  VMPtr<Image> filled = blackImage(8, 8);
  VMPtr<Graphics> f = filled->getGraphics();
  f->setColor(0xFF0000);
  ext->fillRectAlpha(f, 0, 0, 2, 2, 0);
  EXPECT_EQ(f->getAlpha(), 255);
  EXPECT_EQ(pixels(filled)[0], kBlack);
  ext->fillRectAlpha(f, 0, 0, 2, 2, 255);
  EXPECT_EQ(pixels(filled)[0], kRed);
  ext->fillGradient(f, 0, 4, 4, 1, 0x0000FF, 0x00FF00, 1);
  EXPECT_EQ(pixelAt(pixels(filled), 8, 0, 4), kBlue);
  ext->setGraphicsTransform(f, 0, 0, 0, 1.0f, 1.0f);
}

}  // namespace

VM_REGISTER_CLASS(Swap, "test.drawables.Swap", "tq.graphics.RGBFilter", 0);
