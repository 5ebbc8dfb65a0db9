// The screen object's geometry as one table over one screen of every
// layer kind: kinds, values, rectangles, box lists, collision boxes and hit
// tests, in screen coordinates.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ScreenEnv.h"

namespace {

using gametest::ScreenEnv;
using ui::Screen;
namespace fx = gametest::screen;
using Values = std::vector<int32_t>;

// The layers of the table's screen.
enum Layer : int32_t {
  kPlayer,         // animation 0 (frame 0, box (-10, -20, 20, 40) type 0) at (100, 50)
  kTypedFrame,     // frame 2 (three boxes, numbers and types differ) at (12, 7)
  kSwitchedImage,  // sprite set kImages switched to image 1, placed at (30, 40)
  kFrame,          // frame 0 at (50, 50): its box is (40, 30, 20, 40)
  kBoxlessImage,   // image 0 of kBoxless at (0, 0)
  kGreenPlayer,    // animation 1 (frame 1, box (1, 2, 3, 4) type 2) at (100, 50)
  kEmpty,
  kLayers,
};

VMPtr<Screen> tableScreen() {
  VMPtr<Screen> s = ScreenEnv::screen(kLayers);
  s->addPlayerLayer(fx::kImages, fx::kAnims, 0, 100, 50);
  s->addFrameLayer(fx::kImages, fx::kAnims, 2, 12, 7);
  s->addImageLayer(fx::kImages);
  s->setLayerValue(kSwitchedImage, 1);
  s->setLayerPosition(kSwitchedImage, 30, 40);
  s->addFrameLayer(fx::kImages, fx::kAnims, 0, 50, 50);
  s->addImageLayer(fx::kBoxless);
  s->addPlayerLayer(fx::kImages, fx::kAnims, 1, 100, 50);
  return s;
}

Values values(const VMPtr<VMArray<int32_t>>& a) {
  Values v;
  for (int32_t i = 0; i < a->length; ++i) v.push_back(a->at(i));
  return v;
}

Values box(const VMPtr<Screen::CollisionBox>& b) { return {b->x, b->y, b->width, b->height}; }

VMPtr<VMArray<int32_t>> rect(int32_t x, int32_t y, int32_t w, int32_t h) {
  VMPtr<VMArray<int32_t>> r = VMArray<int32_t>::create(4);
  r->at(0) = x;
  r->at(1) = y;
  r->at(2) = w;
  r->at(3) = h;
  return r;
}

Values hit(const VMPtr<Screen>& s, int32_t layer, int32_t x, int32_t y, int32_t w, int32_t h) {
  return {s->hitTest(layer, 0, rect(x, y, w, h))};
}

struct Case {
  std::string what;
  std::function<Values(const VMPtr<Screen>&)> query;
  Values expected;
};

using S = const VMPtr<Screen>&;

const std::vector<Case> kCases = {
    // Kinds and the per-layer accessors.
    {"kinds: player, frame, image, empty, beyond", [](S s) {
       return Values{s->getLayerKind(kPlayer), s->getLayerKind(kFrame), s->getLayerKind(kSwitchedImage),
                     s->getLayerKind(kEmpty), s->getLayerKind(kLayers), s->getLayerKind(1000)};
     }, {0, 1, 2, -1, -1, -1}},
    {"values", [](S s) {
       return Values{s->getLayerValue(kPlayer), s->getLayerValue(kTypedFrame), s->getLayerValue(kSwitchedImage),
                     s->getLayerValue(kEmpty), s->getLayerValue(kLayers)};
     }, {0, 2, -1, -1, -1}},
    {"positions", [](S s) {
       return Values{s->getLayerX(kPlayer), s->getLayerY(kPlayer), s->getLayerX(kTypedFrame),
                     s->getLayerY(kTypedFrame), s->getLayerX(kSwitchedImage), s->getLayerY(kSwitchedImage),
                     s->getLayerX(kEmpty), s->getLayerY(kLayers)};
     }, {100, 50, 12, 7, 30, 40, 0, 0}},
    {"steps", [](S s) {
       return Values{s->getLayerStep(kPlayer), s->getLayerStep(kFrame), s->getLayerStep(kEmpty),
                     s->getLayerStepInfo(kPlayer), s->getLayerStepInfo(kFrame), s->getLayerStepInfo(kLayers)};
     }, {0, -1, -1, 0, 0, 0}},
    {"sizes of the drawable shown", [](S s) {
       return Values{s->getLayerWidth(kSwitchedImage), s->getLayerHeight(kFrame), s->getLayerWidth(kEmpty),
                     s->getLayerHeight(kLayers)};
     }, {8, 8, 0, 0}},
    {"box counts", [](S s) {
       return Values{s->getLayerBoxCount(kPlayer), s->getLayerBoxCount(kTypedFrame),
                     s->getLayerBoxCount(kSwitchedImage), s->getLayerBoxCount(kBoxlessImage),
                     s->getLayerBoxCount(kEmpty), s->getLayerBoxCount(kLayers)};
     }, {1, 3, 1, 0, 0, 0}},
    // A player's box at its position.
    {"player at (100, 50): collision box", [](S s) { return box(s->getCollisionBox(kPlayer, 0)); },
     {90, 30, 20, 40}},
    {"player: rectangle of type 0", [](S s) { return values(s->getLayerRect(kPlayer, 0)); }, {90, 30, 20, 40, 0}},
    {"player: box list", [](S s) { return values(s->getLayerBoxes(kPlayer)); }, {90, 30, 20, 40, 0}},
    {"player: type-2 rectangle at its position", [](S s) { return values(s->getLayerRect(kGreenPlayer, 2)); },
     {101, 52, 3, 4, 0}},
    {"player: box rectangle without its position", [](S s) { return values(s->getLayerBoxRect(kGreenPlayer)); },
     {1, 2, 3, 4, 0}},
    // Frame offsets move every box.
    {"frame at (12, 7): box list", [](S s) { return values(s->getLayerBoxes(kTypedFrame)); },
     {12, 7, 5, 5, 3, 22, 17, 6, 6, 0, 32, 27, 7, 7, 2}},
    // By index and by type on a frame whose box numbers and types differ.
    {"by index: box 1 is the type-0 box", [](S s) { return box(s->getCollisionBox(kTypedFrame, 1)); },
     {22, 17, 6, 6}},
    {"by index: box 0 is the type-3 box", [](S s) { return box(s->getCollisionBox(kTypedFrame, 0)); },
     {12, 7, 5, 5}},
    {"by type 0", [](S s) { return values(s->getLayerRect(kTypedFrame, 0)); }, {22, 17, 6, 6, 0}},
    {"by type 3", [](S s) { return values(s->getLayerRect(kTypedFrame, 3)); }, {12, 7, 5, 5, 0}},
    {"type 2 through the box rectangle", [](S s) { return values(s->getLayerBoxRect(kTypedFrame)); },
     {32, 27, 7, 7, 0}},
    {"a type the frame lacks: the offsets only", [](S s) { return values(s->getLayerRect(kTypedFrame, 1)); },
     {12, 7, 0, 0, 0}},
    {"an index the frame lacks: an empty box at the offsets",
     [](S s) { return box(s->getCollisionBox(kTypedFrame, 5)); }, {12, 7, 0, 0}},
    // An image layer: image 0's box, although image 1 is shown.
    {"image: rectangle with image 0's offsets", [](S s) { return values(s->getLayerRect(kSwitchedImage, 7)); },
     {34, 46, 5, 6, 0}},
    {"image: collision box with image 0's offsets, any index",
     [](S s) { return box(s->getCollisionBox(kSwitchedImage, 9)); }, {34, 46, 5, 6}},
    {"image: box list without the image offsets", [](S s) { return values(s->getLayerBoxes(kSwitchedImage)); },
     {31, 42, 5, 6, 0}},
    {"image: no box rectangle", [](S s) { return values(s->getLayerBoxRect(kSwitchedImage)); }, {0, 0, 0, 0, 0}},
    // Empty layers and layers past the capacity.
    {"empty: zeros", [](S s) {
       Values v = values(s->getLayerRect(kEmpty, 0));
       for (int32_t x : values(s->getLayerBoxes(kLayers))) v.push_back(x);
       for (int32_t x : box(s->getCollisionBox(kLayers, 0))) v.push_back(x);
       for (int32_t x : values(s->getLayerBoxRect(kEmpty))) v.push_back(x);
       return v;
     }, Values(19, 0)},
    {"empty: no hits", [](S s) { return hit(s, kEmpty, 0, 0, 0, 0); }, {0}},
    // Hit tests against the frame's box (40, 30, 20, 40): a zero-size
    // rectangle is the point test; 1 x 1 fails at the right and bottom edges
    // as the point does.
    {"point at the top-left corner", [](S s) { return hit(s, kFrame, 40, 30, 0, 0); }, {1}},
    {"point at the last pixel", [](S s) { return hit(s, kFrame, 59, 69, 0, 0); }, {1}},
    {"point on the right edge", [](S s) { return hit(s, kFrame, 60, 50, 0, 0); }, {0}},
    {"point on the bottom edge", [](S s) { return hit(s, kFrame, 50, 70, 0, 7); }, {0}},
    {"point with a zero width only", [](S s) { return hit(s, kFrame, 45, 35, 0, 100); }, {1}},
    {"1 x 1 at the last pixel", [](S s) { return hit(s, kFrame, 59, 69, 1, 1); }, {1}},
    {"1 x 1 on the right edge", [](S s) { return hit(s, kFrame, 60, 69, 1, 1); }, {0}},
    {"1 x 1 on the bottom edge", [](S s) { return hit(s, kFrame, 59, 70, 1, 1); }, {0}},
    {"the box itself", [](S s) { return hit(s, kFrame, 40, 30, 20, 40); }, {1}},
    {"one wider than the box", [](S s) { return hit(s, kFrame, 40, 30, 21, 40); }, {0}},
    {"a negative size", [](S s) { return hit(s, kFrame, 50, 50, -1, 1); }, {0}},
    {"box test inside the player's box", [](S s) {
       VMPtr<Screen::CollisionBox> b = Screen::CollisionBox::make();
       b->set(95, 35, 2, 2);
       const uint8_t inside = s->hitTestBox(kPlayer, 0, b);
       b->set(89, 35, 0, 0);
       return Values{inside, s->hitTestBox(kPlayer, 0, b)};
     }, {1, 0}},
    {"box number 1 of the typed frame", [](S s) { return Values{s->hitTest(kTypedFrame, 1, rect(22, 17, 0, 0))}; },
     {1}},
};

TEST(ScreenGeometry, LayersInScreenCoordinates) {
  ScreenEnv e;
  VMPtr<Screen> s = tableScreen();
  for (const Case& c : kCases) EXPECT_EQ(c.query(s), c.expected) << c.what;
}

// The box rectangle needs a layer of the tables.
TEST(ScreenGeometry, BoxRectangleOfALayerBeyondTheTablesThrows) {
  ScreenEnv e;
  VMPtr<Screen> s = tableScreen();
  EXPECT_ANY_THROW(s->getLayerBoxRect(kLayers));
}

}  // namespace
