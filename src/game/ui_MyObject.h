#pragma once

#include <cstdint>

#include "VMClassKit.h"
#include "javax_microedition_lcdui_Graphics.h"
#include "tq_TqCanvas.h"

namespace ui {

// The base of every object a scene holds: flags and a depth. A scene
// ticks and paints the visible ones in ascending depth (the scene's
// background sits at depth 40) and polls the active ones for input.
class MyObject : public virtual java::lang::Object {
  VM_CLASS(MyObject, java::lang::Object)

 public:
  using Graphics = javax::microedition::lcdui::Graphics;
  static constexpr int32_t kBackgroundDepth = 40;

  // Takes the controller's canvas; visible, not active, not paused, depth 0.
  VMPtr<MyObject> _VM_init();

  // Releases the object's resources.
  virtual void dispose() = 0;
  // tick, unless paused.
  virtual void update();
  virtual void pollInput() = 0;
  virtual void tick() = 0;
  virtual void setVisible(uint8_t v) { visible = v; }
  virtual uint8_t isActive() { return active; }
  virtual int32_t getDepth() { return depth; }
  virtual void setPaused(uint8_t p) { paused = p; }
  virtual uint8_t isVisible() { return visible; }
  virtual void paint(VMPtr<Graphics> g) = 0;
  // Drops the drawables without releasing cached resources.
  virtual void clear() = 0;
  virtual uint8_t isPaused() { return paused; }
  virtual void setDepth(int32_t d) { depth = d; }
  virtual void setActive(uint8_t a) { active = a; }

  void _VM_markReferences(int colour) override;

  VMField<tq::TqCanvas> canvas;
  uint8_t active;
  uint8_t paused;
  uint8_t visible;
  int32_t depth;
};

}  // namespace ui
