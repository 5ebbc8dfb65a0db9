// The text and sound a game takes from one pack: a translated text wrapped
// and drawn in the pack's glyph font on a canvas, and a looping WAV played
// by the media manager through the platform onto the hand-pumped output.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "ContentFixtures.h"
#include "JavaTestSupport.h"
#include "PackFixtures.h"
#include "PlainCanvas.h"
#include "SimplePackWriter.h"
#include "SoundFixtures.h"
#include "TextTableWriter.h"
#include "VMTestEnv.h"
#include "tq_MediaManagerImpl.h"
#include "tq_Resources.h"
#include "tq_ResourcesExt.h"
#include "tq_util_text_WrappedText.h"

using javax::microedition::lcdui::Graphics;
using javax::microedition::lcdui::Image;
using test_support::PlainCanvas;

namespace {

constexpr int32_t kRate = 8000;

std::vector<int32_t> pixels(const VMPtr<Image>& image) {
  VMPtr<VMArray<int32_t>> rgb = VMArray<int32_t>::create(image->getWidth() * image->getHeight());
  image->getRGB(rgb, 0, image->getWidth(), 0, 0, image->getWidth(), image->getHeight());
  return std::vector<int32_t>(rgb->elements(), rgb->elements() + rgb->length);
}

VMPtr<Image> darkImage() {
  VMPtr<Image> image = Image::createImage(40, 40);
  VMPtr<Graphics> g = image->getGraphics();
  g->setColor(0x404040);
  g->fillRect(0, 0, 40, 40);
  return image;
}

class PackedGame : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto font = content::fixtures::eightGlyphFont();
    folder.put("RP2.rp", content::writeSimplePack({{0, font.sheet.png},
                                                   {0, font.spriteSet},
                                                   {0, content::writeTranslationTable({u"x", u"Aa bA0 ab"})},
                                                   {1, content::fixtures::shortSound().wav}}));
    canvas = PlainCanvas::make();
  }
  void TearDown() override {
    canvas = nullptr;
    PlainCanvas::stop();
  }

  pack_fixtures::ProgramFolder folder;
  // The output is chosen before any device opens; the VM before any reference.
  VMContext* vm = (usePumpedOutput(kRate), VMTestEnv::start());
  VMPtr<PlainCanvas> canvas;
};

TEST_F(PackedGame, DrawsAWrappedTranslatedTextInTheGlyphFont) {
  canvas->setFontGlyphs(tq::ResourcesExt::getGobs(2049));
  VMPtr<java::lang::String> s = tq::Resources::getTranslation(2050)->getString(1);
  VMPtr<tq::util::text::WrappedText> wrapped = tq::util::text::WrappedText::_VM_new();
  wrapped->_VM_init(canvas);
  // Advances of 5 (3 for the space): "Aa bA0" is 28 pixels, so 20 wrap it.
  EXPECT_EQ(wrapped->setText(s, 20), 3);
  VMPtr<Image> drawn = darkImage();
  wrapped->draw(drawn->getGraphics(), 0, 0, Graphics::TOP | Graphics::LEFT);
  VMPtr<Image> expected = darkImage();
  VMPtr<Graphics> g = expected->getGraphics();
  const char16_t* lines[] = {u"Aa", u"bA0", u"ab"};
  for (int32_t k = 0; k < 3; ++k) canvas->drawString(g, java_test::jstr(lines[k]), 0, 8 * k, 20);
  EXPECT_EQ(pixels(drawn), pixels(expected));
  EXPECT_NE(pixels(drawn), pixels(darkImage()));
}

TEST_F(PackedGame, PlaysALoopingSoundFromThePack) {
  VMPtr<tq::MediaManagerImpl> media = tq::MediaManagerImpl::_VM_new();
  media->_VM_init(canvas, 10);
  media->load(4, 2051, -1, 0);
  ASSERT_TRUE(media->isLoaded(4));
  media->play(1, 4);
  media->run();
  EXPECT_TRUE(media->isPlaying(4));
  // Three quarter-second passes of the sound: the last still sounds.
  const std::vector<int16_t> samples = pumpLeft(3 * kRate / 4);
  const auto loud = [](int16_t v) { return v != 0; };
  EXPECT_TRUE(std::any_of(samples.begin(), samples.begin() + kRate / 4, loud));
  EXPECT_TRUE(std::any_of(samples.end() - kRate / 8, samples.end(), loud));
  EXPECT_TRUE(media->isPlaying(-1));
  media->stop(1);
  EXPECT_FALSE(media->isPlaying(4));
  media->close();
  EXPECT_FALSE(media->isLoaded(4));
}

}  // namespace
