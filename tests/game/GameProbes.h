#pragma once

// Objects, a scene and a controller that log what is done to them into one
// shared log, so that a test can read the order of the calls.

#include <cstdint>
#include <string>
#include <vector>

#include "main_Main.h"
#include "ui_MyObject.h"
#include "ui_Scene.h"

namespace gametest {

extern std::vector<std::string> sceneLog;

// Logs "dispose d", "poll d", "tick d" and, when painted, its depth d.
class LogObject : public ui::MyObject {
  VM_CLASS(LogObject, ui::MyObject)

 public:
  static VMPtr<LogObject> make(int32_t depth);
  void dispose() override;
  void pollInput() override;
  void tick() override;
  void paint(VMPtr<Graphics>) override;
  void clear() override {}
};

// Logs its load phases ("load" while `loadsLeft` counts down, "prepare",
// "widgets", which adds a LogObject per entry of `widgetDepths`) and "bg"
// for its background.
class LogScene : public ui::Scene {
  VM_CLASS(LogScene, ui::Scene)

 public:
  static VMPtr<LogScene> make();
  void loadStep() override;
  void prepareStep() override;
  void createWidgets() override;
  void paintBackground(VMPtr<Graphics>) override;

  int32_t loadsLeft = 0;
  std::vector<int32_t> widgetDepths;
};

// The controller over `canvas`, logging "sound", "stop sounds" and "load
// sound set k" before it does them.
class LogMain : public main::Main {
  VM_CLASS(LogMain, main::Main)

 public:
  static VMPtr<LogMain> make(VMPtr<tq::TqCanvas> canvas);
  void playSound() override;
  void stopAllSounds() override;
  void loadSoundSet(int32_t set) override;
};

}  // namespace gametest
