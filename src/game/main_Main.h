#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"
#include "javax_microedition_lcdui_Graphics.h"
#include "main_Game.h"
#include "tq_Gob.h"
#include "tq_MediaManager.h"
#include "tq_TqCanvas.h"
#include "tq_util_FastRandom.h"
#include "tq_util_text_RichFont.h"
#include "tq_util_text_Translation.h"
#include "ui_LevelLoader.h"
#include "ui_ResManager.h"

namespace scene {
class SceneManager;
}

namespace main {

// The game's controller: one instance, made by the MIDlet, whose statics
// are the game's shared services (canvas, scene manager, saved progress,
// resource cache, level loader, font, random generator, translation) and
// switches (full repaint, first run, loading picture, sound, music). It runs the
// per-frame update and paint on the canvas thread, centres the 240 x 320
// game area on the canvas, plays music and sounds through the engine's
// media manager (sound set k in media slot 4, music on channel 1, the
// effect as channel 2 playing slot 4), selects the font's glyph set and
// turns a finished level into a grade and the codes of what it earned.
//
// `soundOn` gates every media call; only loadSoundSet turns it on. Init,
// releaseMedia and shutdown run on the main thread, everything else on the
// canvas thread; the global lock serialises them. releaseMedia and
// shutdown may run twice on exit and do nothing the second time.
class Main : public virtual java::lang::Object {
  VM_CLASS(Main, java::lang::Object)

 public:
  using Graphics = javax::microedition::lcdui::Graphics;
  using Gobs = VMArray<tq::Gob>;
  static constexpr int32_t kGameWidth = 240;
  static constexpr int32_t kGameHeight = 320;
  // Media slot of the loaded sound set, and the channels used.
  static constexpr int32_t kSoundSlot = 4;
  static constexpr int32_t kMusicChannel = 1;
  static constexpr int32_t kEffectChannel = 2;
  // levelFinished's result: the count, then up to 14 codes.
  static constexpr int32_t kResultLength = 15;

  // The start-up: saved progress, resource cache, font, random generator,
  // level loader, the switches, then glyph set 0 in the font. Returns this.
  VMPtr<Main> init(VMPtr<tq::TqCanvas> canvas);

  virtual void update();
  // The level at Game's coordinates is finished with the items the game
  // objects counted as gathered: result[0] is the number n of codes,
  // result[1..n] the codes, newest first.
  virtual VMPtr<VMArray<int32_t>> levelFinished();
  virtual void resume();
  virtual void stopMusic();
  virtual void onShown();
  virtual void playMusic(int32_t set);
  virtual void playSound();
  virtual void releaseFont(int32_t slot);
  virtual void soundOff();
  virtual void loadSoundSet(int32_t set);
  virtual void stopAllSounds();
  virtual void selectFont(int32_t slot);
  virtual void paint(VMPtr<Graphics> g);
  virtual void releaseMedia();
  virtual void loadFont(int32_t slot);
  virtual void playLoop(int32_t track);
  virtual void loadTranslation(int32_t resourceId);
  virtual void pause();

  // |next int|, INT_MIN as it is.
  static int32_t random();
  // Drops the services; the instance stays.
  static void shutdown();

  void _VM_markReferences(int colour) override;
  static void _VM_clinit();

  VMField<tq::MediaManager> mediaManager;
  uint8_t paused;
  VMField<VMArray<tq::Gob, 2>> glyphSets;

  static VMStatic<Main> instance;
  static VMStatic<tq::TqCanvas> canvas;
  static VMStatic<scene::SceneManager> sceneManager;
  static VMStatic<Game> game;
  static VMStatic<ui::ResManager> resManager;
  static VMStatic<tq::util::text::RichFont> font;
  static VMStatic<ui::LevelLoader> levelLoader;
  static VMStatic<tq::util::FastRandom> rng;
  static VMStatic<VMArray<int32_t>> fontGlyphIds;
  static VMStatic<tq::util::text::Translation> translation;
  static int32_t translationId;
  static int32_t currentGlyphId;
  static int32_t soundSet;
  static uint8_t repaintAll;
  static uint8_t firstRun;
  static uint8_t showLoadingPicture;
  static uint8_t soundOn;
  static uint8_t musicOn;
  static int32_t offsetX;
  static int32_t offsetY;

 private:
  void paintBackdrop(VMPtr<Graphics> g);
  static bool currentSceneSuspended();
  static void markTierFlags(VMPtr<VMArray<int8_t>> flags, VMPtr<VMArray<int32_t>> result, int32_t& n);
};

}  // namespace main
