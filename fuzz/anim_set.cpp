// Fuzz target: an animation set read from arbitrary bytes, then every
// query over its first frames and animations, a paint of each, and players
// updated, painted and collided. The reader ends a cut or malformed set
// quietly; queries over such a set may throw the runtime's
// ArrayIndexOutOfBoundsException or NullPointerException (an index
// outside a table, a table that was never read). Anything else, a crash,
// a hang or a read outside an array, is a fault.

#include <cstdint>
#include <cstring>

#include "VMCollector.h"
#include "VMContext.h"
#include "VMTestEnv.h"
#include "java_lang_ArrayIndexOutOfBoundsException.h"
#include "java_lang_NullPointerException.h"
#include "javax_microedition_lcdui_Graphics.h"
#include "javax_microedition_lcdui_Image.h"
#include "tq_AnimPlayer.h"
#include "tq_AnimSet.h"
#include "tq_Resources.h"

namespace {

constexpr int32_t kMaxItems = 48;  // frames and animations looked at

using Graphics = javax::microedition::lcdui::Graphics;

// Four 1 x 1 sprites with boxes for the parts to draw.
VMPtr<VMArray<tq::Gob>> sprites() {
  VMPtr<VMArray<tq::Gob>> gobs = VMArray<tq::Gob>::create(4);
  for (int32_t i = 0; i < 4; ++i) {
    VMPtr<VMArray<int32_t>> argb = VMArray<int32_t>::create(1);
    argb->at(0) = static_cast<int32_t>(0xFF000000u | (0x400000u * static_cast<uint32_t>(i + 1)));
    gobs->set(i, tq::Gob::create(argb, 1, 1, 0));
  }
  return gobs;
}

template <class F>
void tolerate(F&& f) {
  try {
    f();
  } catch (java::lang::ArrayIndexOutOfBoundsException* e) {
    VMPtr<java::lang::Throwable> bound(e);
  } catch (java::lang::NullPointerException* e) {
    VMPtr<java::lang::Throwable> bound(e);
  }
}

void queryFrame(const VMPtr<tq::AnimSet>& set, int32_t f, const VMPtr<Graphics>& g) {
  VMPtr<VMArray<int32_t>> ints = VMArray<int32_t>::create(40);
  VMPtr<tq::AnimSet::Boxes> boxes = tq::graphics::CollisionBox::ensureCapacity(nullptr, 4);
  for (int32_t t = 0; t < 8; ++t) {
    tolerate([&] { set->getBoxes(f, t, ints, t - 1); });
    tolerate([&] { set->getBoxes(f, t, boxes, t - 1); });
    tolerate([&] { set->getCollisionBox(f, t, boxes, t); });
    tolerate([&] { set->getParts(f, t, ints); });
    tolerate([&] { set->getFrameBounds(f, t, ints); });
    tolerate([&] { set->paintFrame(g, f, 8, 8, t); });
  }
  tolerate([&] { set->getFrame(f)->paint(g, 4, 4, 0); });
}

void queryAnimation(const VMPtr<tq::AnimSet>& set, int32_t a, const VMPtr<Graphics>& g) {
  VMPtr<VMArray<int32_t>> ints = VMArray<int32_t>::create(6);
  tolerate([&] { set->getDuration(a); });
  tolerate([&] { set->getStepCount(a); });
  for (int32_t t = 0; t < 8; ++t) tolerate([&] { set->getAnimationBounds(a, t, ints); });
  tolerate([&] {
    VMPtr<tq::AnimPlayer> p = set->createPlayer(a);
    VMPtr<tq::AnimPlayer> q = set->createPlayer(a);
    for (int32_t i = 0; i < 8; ++i) {
      p->setTransform(i);
      p->update(i * 37);
      p->paint(g);
      p->collidesWith(q);
      p->collidesWith(i, i);
      p->collides(0, 0, i, -1, q, 1, 1, 0, -1, ints);
      p->getWidth(0);
    }
  });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static VMNative<Graphics>* graphics = [] {
    VMTestEnv::start();
    VMPtr<javax::microedition::lcdui::Image> image = javax::microedition::lcdui::Image::createImage(16, 16);
    return new VMNative<Graphics>(image->getGraphics());
  }();
  if (size > 1 << 16) return 0;
  {
    VMPtr<VMArray<int8_t>> bytes = VMArray<int8_t>::create(static_cast<int32_t>(size));
    if (size > 0) std::memcpy(bytes->elements(), data, size);
    VMPtr<tq::AnimSet> set = tq::AnimSet::load(1, tq::Resources::openStream(bytes, 0, bytes->length));
    set->setGobs(sprites());
    VMPtr<Graphics> g(*graphics);
    int32_t frames = 0, anims = 0;
    tolerate([&] { frames = set->getFrameCount(); });
    tolerate([&] { anims = set->getAnimationCount(); });
    for (int32_t f = 0; f < frames && f < kMaxItems; ++f) queryFrame(set, f, g);
    for (int32_t a = 0; a < anims && a < kMaxItems; ++a) queryAnimation(set, a, g);
  }
  _VM_collect(_VM_vm);
  return 0;
}
