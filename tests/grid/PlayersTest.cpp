// Players in the grid layer: advanced by the canvas clock once per canvas
// time and at most 100 ms, drawn after the tiles at their map places,
// skipped outside the area; the list's capacity and its full error.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../engine/EngineFixture.h"
#include "java_lang_ArrayIndexOutOfBoundsException.h"
#include "tq_AnimPlayer.h"
#include "tq_CellLayer.h"

namespace gridtest {

using javax::microedition::lcdui::Graphics;
using javax::microedition::lcdui::Image;

// A player of a fixed 4 x 4 box at offset (-2, -2) that logs its updates
// and where it is painted, and fills its box.
class LoggingPlayer : public tq::AnimPlayer {
  VM_CLASS(LoggingPlayer, tq::AnimPlayer)

 public:
  VMPtr<LoggingPlayer> _VM_init(std::vector<std::string>* log, const char* name) {
    Base::_VM_init();
    this->log = log;
    this->name = name;
    return VMPtr<LoggingPlayer>(this);
  }
  int32_t getWidth(int32_t) override { return 4; }
  int32_t getHeight(int32_t) override { return 4; }
  int32_t getOffsetX(int32_t) override { return -2; }
  int32_t getOffsetY(int32_t) override { return -2; }
  uint8_t update(int32_t elapsed) override {
    log->push_back(std::string(name) + "+" + std::to_string(elapsed));
    return 1;
  }
  void paint(VMPtr<Graphics> g, int32_t x, int32_t y, int32_t) override {
    log->push_back(std::string(name) + "@" + std::to_string(x) + "," + std::to_string(y));
    g->setColor(0x0000FF);
    g->fillRect(x - 2, y - 2, 4, 4);
  }

  std::vector<std::string>* log = nullptr;
  const char* name = "";
};

namespace {

class Players : public enginetest::EngineFixture {
 protected:
  static VMPtr<Graphics> newGraphics() { return Image::createImage(32, 32)->getGraphics(); }
  VMPtr<tq::CellLayer> layerWith(std::vector<std::pair<int, int>> places) {
    VMPtr<tq::CellLayer> layer = tq::CellLayer::create(32, 32);
    layer->setAnimatedCellCapacity(static_cast<int32_t>(places.size()));
    const char* names[] = {"a", "b", "c", "d"};
    for (size_t i = 0; i < places.size(); ++i) {
      layer->addAnimatedCell(LoggingPlayer::_VM_new()->_VM_init(&log, names[i]), places[i].first,
                             places[i].second);
    }
    return layer;
  }
  std::string take() {
    std::string out;
    for (const std::string& s : log) out += (out.empty() ? "" : " ") + s;
    log.clear();
    return out;
  }
  std::vector<std::string> log;
};

TEST_F(Players, AdvanceOncePerCanvasTimeAndAtMost100Ms) {
  VMPtr<Graphics> g = newGraphics();
  VMPtr<tq::CellLayer> layer = layerWith({{5, 5}, {10, 10}});
  layer->paint(g);
  EXPECT_EQ(take(), "a@5,5 b@10,10");  // the first paint advances nothing
  enginetest::TestClock::now += 30;
  layer->paint(g);
  layer->paint(g);
  EXPECT_EQ(take(), "a+30 b+30 a@5,5 b@10,10 a@5,5 b@10,10");
  enginetest::TestClock::now += 5000;
  layer->paint(g);
  EXPECT_EQ(take(), "a+100 b+100 a@5,5 b@10,10");
  enginetest::TestClock::now -= 50;  // a clock going back advances nothing
  layer->paint(g);
  EXPECT_EQ(take(), "a@5,5 b@10,10");
}

TEST_F(Players, DrawnAtTheirMapPlacesAndSkippedOutside) {
  VMPtr<Graphics> g = newGraphics();
  // a inside, b reaching in from the left, c just off the right edge,
  // d just below.
  VMPtr<tq::CellLayer> layer = layerWith({{20, 20}, {11, 15}, {54, 20}, {20, 54}});
  layer->setPosition(10, 10);
  layer->paint(g);
  EXPECT_EQ(take(), "a@10,10 b@1,5");
  layer->setPosition(-10, -10);
  layer->paint(g);
  EXPECT_EQ(take(), "a@30,30 b@21,25");
}

TEST_F(Players, DrawnOverTheTiles) {
  VMPtr<tq::CellLayer> layer = layerWith({{8, 8}});
  VMPtr<Image> white = Image::createImage(8, 8);
  layer->setTiles(4, 4, white, 8, 8);
  for (int32_t r = 0; r < 4; ++r) {
    for (int32_t c = 0; c < 4; ++c) layer->setCell(c, r, 1);
  }
  VMPtr<Image> out = Image::createImage(32, 32);
  VMPtr<Graphics> og = out->getGraphics();
  og->setColor(0);
  og->fillRect(0, 0, 32, 32);
  layer->paint(og);
  // (8, 8) is the player's blue over a white tile, (10, 8) the tile; the
  // image's colours are as deep as the display's.
  VMPtr<VMArray<int32_t>> rgb = VMArray<int32_t>::create(3);
  out->getRGB(rgb, 0, 3, 8, 8, 3, 1);
  EXPECT_EQ(rgb->at(0) & 0xFFFF00, 0) << std::hex << rgb->at(0);
  EXPECT_NE(rgb->at(0) & 0xFF, 0);
  EXPECT_EQ(rgb->at(2) & 0xF0F0F0, 0xF0F0F0) << std::hex << rgb->at(2);
}

TEST_F(Players, CapacityAndTheFullList) {
  VMPtr<Graphics> g = newGraphics();
  VMPtr<tq::CellLayer> layer = tq::CellLayer::create(32, 32);
  VMPtr<LoggingPlayer> p = LoggingPlayer::_VM_new()->_VM_init(&log, "p");
  EXPECT_THROW(layer->addAnimatedCell(p, 0, 0), java::lang::ArrayIndexOutOfBoundsException*);
  layer->setAnimatedCellCapacity(1);
  layer->addAnimatedCell(p, 0, 0);
  EXPECT_THROW(layer->addAnimatedCell(p, 0, 0), java::lang::ArrayIndexOutOfBoundsException*);
  layer->setAnimatedCellCapacity(0);
  EXPECT_EQ(layer->cellPlayerCount, 0);
  EXPECT_FALSE(layer->cellPlayers);
  layer->paint(g);
  EXPECT_EQ(take(), "");
}

}  // namespace
}  // namespace gridtest

VM_REGISTER_CLASS(gridtest::LoggingPlayer, "gridtest.LoggingPlayer", "tq.AnimPlayer", 0);
