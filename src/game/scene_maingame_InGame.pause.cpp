#include "scene_maingame_InGame.h"

namespace scene::maingame {

void InGame::pause() {}

void InGame::updatePauseMenu() { handleMenuChoice(); }

void InGame::handleMenuChoice() {}

void InGame::showConfirmBoard(int32_t) {}

void InGame::restartLevel() {}

void InGame::restartWithoutReload() {}

void InGame::nextLevel() {}

void InGame::buildListMenu(std::initializer_list<int32_t>, VMPtr<Ints>, bool) {}

void InGame::buildPauseList(bool) {}

void InGame::removeMenu() {}

}  // namespace scene::maingame
