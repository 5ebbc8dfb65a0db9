#pragma once

// Drawables and images shared by the grid layer's tests: a probe that logs
// where it is painted, a blinking animation player, images of random
// pixels with holes, and pixel read-back.

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "VMArray.h"
#include "VMClassKit.h"
#include "javax_microedition_lcdui_Graphics.h"
#include "javax_microedition_lcdui_Image.h"
#include "tq_AnimPlayer.h"
#include "tq_Gob.h"
#include "tq_Paintable.h"

namespace gridtest {

using javax::microedition::lcdui::Graphics;
using javax::microedition::lcdui::Image;

// A drawable of a w x h box at offset (ox, oy), mirrored with the
// transform as a sprite is. Each paint logs "id@x,y/t" (with `logClip`
// "id[x,y,w,h]", g's clip, instead) and fills the box with `colour` (0:
// nothing).
class Probe : public tq::Paintable {
  VM_CLASS(Probe, tq::Paintable)

 public:
  VMPtr<Probe> _VM_init(std::vector<std::string>* log, int32_t id, int32_t w, int32_t h, int32_t ox, int32_t oy,
                        int32_t colour = 0) {
    Base::_VM_init();
    this->log = log;
    this->id = id;
    this->w = w;
    this->h = h;
    this->ox = ox;
    this->oy = oy;
    this->colour = colour;
    return VMPtr<Probe>(this);
  }
  using Paintable::paint;
  int32_t getKind() override { return 0; }
  int32_t getWidth(int32_t) override { return w; }
  int32_t getHeight(int32_t) override { return h; }
  int32_t getOffsetX(int32_t t) override { return (t & 2) != 0 ? -(w + ox) : ox; }
  int32_t getOffsetY(int32_t t) override { return (t & 1) != 0 ? -(h + oy) : oy; }
  void paint(VMPtr<Graphics> g, int32_t x, int32_t y, int32_t t) override {
    if (log != nullptr && logClip) {
      log->push_back(std::to_string(id) + "[" + std::to_string(g->getClipX()) + "," +
                     std::to_string(g->getClipY()) + "," + std::to_string(g->getClipWidth()) + "," +
                     std::to_string(g->getClipHeight()) + "]");
    } else if (log != nullptr) {
      std::string entry = std::to_string(id) + "@" + std::to_string(x) + "," + std::to_string(y);
      if (t != 0) entry += "/" + std::to_string(t);
      log->push_back(entry);
    }
    if (colour != 0) {
      g->setColor(colour);
      g->fillRect(x + getOffsetX(t), y + getOffsetY(t), w, h);
    }
  }

  std::vector<std::string>* log = nullptr;
  int32_t id = 0;
  int32_t w = 0, h = 0, ox = 0, oy = 0;
  int32_t colour = 0;
  bool logClip = false;
};

// An animation player whose two frames swap at every update that moves
// time: a 6 x 4 box at (-3, -2) in one colour, a 4 x 9 box at (-1, -7) in
// another.
class BlinkingPlayer : public tq::AnimPlayer {
  VM_CLASS(BlinkingPlayer, tq::AnimPlayer)

 public:
  VMPtr<BlinkingPlayer> _VM_init() {
    Base::_VM_init();
    return VMPtr<BlinkingPlayer>(this);
  }
  using AnimPlayer::paint;
  int32_t getWidth(int32_t) override { return phase ? 4 : 6; }
  int32_t getHeight(int32_t) override { return phase ? 9 : 4; }
  int32_t getOffsetX(int32_t) override { return phase ? -1 : -3; }
  int32_t getOffsetY(int32_t) override { return phase ? -7 : -2; }
  uint8_t update(int32_t elapsed) override {
    if (elapsed > 0) phase ^= 1;
    return 1;
  }
  void paint(VMPtr<Graphics> g, int32_t x, int32_t y, int32_t) override {
    g->setColor(phase ? 0xFF00FF : 0x00FFFF);
    g->fillRect(x + getOffsetX(0), y + getOffsetY(0), getWidth(0), getHeight(0));
  }

  int32_t phase = 0;
};

// w x h pixels of random opaque colours; with `holes` about one in four
// is fully transparent.
inline VMPtr<VMArray<int32_t>> randomPixels(int32_t w, int32_t h, uint32_t seed, bool holes) {
  std::mt19937 random(seed);
  VMPtr<VMArray<int32_t>> argb = VMArray<int32_t>::create(w * h);
  for (int32_t i = 0; i < w * h; ++i) {
    const uint32_t rgb = random() & 0xFFFFFF;
    argb->at(i) = static_cast<int32_t>(holes && random() % 4 == 0 ? rgb : 0xFF000000u | rgb);
  }
  return argb;
}

inline VMPtr<Image> randomImage(int32_t w, int32_t h, uint32_t seed, bool holes) {
  return Image::createRGBImage(randomPixels(w, h, seed, holes), w, h, holes);
}

inline VMPtr<tq::Gob> randomSprite(int32_t w, int32_t h, int32_t ox, int32_t oy, uint32_t seed) {
  VMPtr<tq::Gob> gob = tq::Gob::create(randomPixels(w, h, seed, true), w, h, 1);
  gob->x = static_cast<int16_t>(ox);
  gob->y = static_cast<int16_t>(oy);
  return gob;
}

// The entries joined with spaces; the log is emptied.
inline std::string take(std::vector<std::string>& log) {
  std::string out;
  for (const std::string& s : log) out += (out.empty() ? "" : " ") + s;
  log.clear();
  return out;
}

inline std::vector<int32_t> pixels(VMPtr<Image> image) {
  const int32_t w = image->getWidth();
  const int32_t h = image->getHeight();
  VMPtr<VMArray<int32_t>> rgb = VMArray<int32_t>::create(w * h);
  image->getRGB(rgb, 0, w, 0, 0, w, h);
  return std::vector<int32_t>(rgb->elements(), rgb->elements() + rgb->length);
}

}  // namespace gridtest
