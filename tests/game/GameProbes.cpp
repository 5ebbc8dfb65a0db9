#include "GameProbes.h"

VM_REGISTER_CLASS(gametest::LogObject, "gametest.LogObject", "ui.MyObject", 0);
VM_REGISTER_CLASS(gametest::LogScene, "gametest.LogScene", "ui.Scene", 0);
VM_REGISTER_CLASS(gametest::LogMain, "gametest.LogMain", "main.Main", 0);

namespace gametest {

std::vector<std::string> sceneLog;

VMPtr<LogObject> LogObject::make(int32_t depth) {
  VMPtr<LogObject> o = _VM_new();
  o->_VM_init();
  o->setDepth(depth);
  return o;
}

void LogObject::dispose() { sceneLog.push_back("dispose " + std::to_string(depth)); }
void LogObject::pollInput() { sceneLog.push_back("poll " + std::to_string(depth)); }
void LogObject::tick() { sceneLog.push_back("tick " + std::to_string(depth)); }
void LogObject::paint(VMPtr<Graphics>) { sceneLog.push_back(std::to_string(depth)); }

VMPtr<LogScene> LogScene::make() {
  VMPtr<LogScene> s = _VM_new();
  s->_VM_init();
  return s;
}

void LogScene::loadStep() {
  sceneLog.push_back("load");
  if (loadsLeft > 0) --loadsLeft;
  loadCounter = loadsLeft;
}

void LogScene::prepareStep() { sceneLog.push_back("prepare"); }

void LogScene::createWidgets() {
  sceneLog.push_back("widgets");
  for (int32_t d : widgetDepths) addObject(LogObject::make(d));
}

void LogScene::paintBackground(VMPtr<Graphics>) { sceneLog.push_back("bg"); }

VMPtr<LogMain> LogMain::make(VMPtr<tq::TqCanvas> canvas) {
  VMPtr<LogMain> m = _VM_new();
  m->init(canvas);
  return m;
}

void LogMain::playSound() {
  sceneLog.push_back("sound");
  Main::playSound();
}

void LogMain::stopAllSounds() {
  sceneLog.push_back("stop sounds");
  Main::stopAllSounds();
}

void LogMain::loadSoundSet(int32_t set) {
  sceneLog.push_back("load sound set " + std::to_string(set));
  Main::loadSoundSet(set);
}

}  // namespace gametest
