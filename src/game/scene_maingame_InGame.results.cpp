#include "scene_maingame_InGame.h"

namespace scene::maingame {

void InGame::updateResults() {}

void InGame::showTallyStart() {}

void InGame::showMarker(int32_t) {}

void InGame::showCountStep(int32_t) {}

void InGame::showAward() {}

void InGame::buildResultsMenu() {}

}  // namespace scene::maingame
