#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"
#include "javax_microedition_lcdui_Graphics.h"
#include "tq_TqCanvas.h"
#include "tq_util_text_Translation.h"
#include "ui_MyObject.h"
#include "ui_Screen.h"

namespace scene {
class SceneManager;
}

namespace ui {

// The base of the game's scenes: a growable list of objects with a draw
// order by ascending depth, a loading protocol, the per-frame update of
// the objects and a paint that slots the scene's background into the
// depth order (once per frame, at depth 40).
//
// Loading runs either at once (`enter`) or, while `suspended`, one phase
// per frame in `update`: the load steps, the prepare steps, the widgets,
// then compaction and sorting; the last phase clears `suspended`, asks for
// a full repaint and plays the sound effect (not in the play scene, 34).
//
// The list grows by half its last step, at least 5, and is trimmed after
// the last object when loading ends or an object is removed. Empty cells
// are skipped by update and paint and sort after every object, so the
// draw order never points at a cell the list does not have.
//
// `screen` and `menu`, the scene's own background and menu box held
// outside the list, are disposed with the list.
class Scene : public virtual java::lang::Object {
  VM_CLASS(Scene, java::lang::Object)

 public:
  using Graphics = javax::microedition::lcdui::Graphics;
  using Objects = VMArray<MyObject>;
  static constexpr int32_t kInitialCapacity = 20;
  static constexpr int32_t kMinGrowth = 5;
  static constexpr int32_t kPlaySceneId = 34;

  // Empty list of 20 cells, start time now, the controller's translation,
  // canvas and scene manager.
  VMPtr<Scene> _VM_init();

  virtual void suspend(uint8_t b);
  virtual void prepareStep() = 0;
  virtual void compactObjects();
  virtual void update();
  virtual void onEmpty4() {}
  virtual void loadStep() = 0;
  virtual void resetClip(VMPtr<Graphics> g);
  virtual void paintBackground(VMPtr<Graphics> g) = 0;
  virtual void setClip(VMPtr<Graphics> g, int32_t x, int32_t y, int32_t w, int32_t h);
  virtual void enter();
  virtual void addObject(VMPtr<MyObject> o);
  virtual void sortObjects();
  virtual void pause() {}
  virtual void paint(VMPtr<Graphics> g);
  virtual void removeObject(int32_t index);
  virtual void removeAllObjects();
  virtual void growObjects();
  virtual void createWidgets() = 0;
  virtual void restart();

  void _VM_markReferences(int colour) override;

  VMField<Objects> objects;
  VMField<VMArray<int32_t>> drawOrder;
  int32_t capacity;
  int32_t growth;
  uint8_t suspended;
  int32_t loadPhase;
  int32_t loadCounter;
  int32_t prepareCounter;
  int64_t startTime;
  int32_t elapsed;
  int32_t wallElapsed;
  int32_t frameTime;
  int32_t lastDelta;
  VMField<VMArray<int32_t>> rect;
  VMField<Screen> screen;
  // Retyped to the menu box by the scenes that have one.
  VMField<MyObject> menu;
  VMField<tq::util::text::Translation> translation;
  VMField<scene::SceneManager> sceneManager;
  VMField<tq::TqCanvas> canvas;

 private:
  // The depth at draw position i; an empty cell is deepest.
  int32_t depthAt(int32_t i);
  void advanceLoading();
  void finishLoading();
  void resize(int32_t length);
  void paintObjects(VMPtr<Graphics> g);
};

}  // namespace ui
