#include "scene_maingame_InGame.h"

namespace scene::maingame {

void InGame::updateLevelEnd() {}

void InGame::buildFailedMenu() {}

void InGame::buildFailedPanel(int32_t) {}

void InGame::buildClosing() {}

}  // namespace scene::maingame
