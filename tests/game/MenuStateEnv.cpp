#include "MenuStateEnv.h"

#include <gtest/gtest.h>

namespace gametest {

using scene::maingame::InGame;

MenuStateEnv::MenuStateEnv(const content::Bytes& level, int32_t tier, int32_t group, int32_t stage)
    : PlaySceneEnv(level, tier, group, stage) {
  menustate::patchMenuStatePacks(env.folder.root() / "rsc");
}

void MenuStateEnv::tap(std::array<int32_t, 2> at) {
  press(at[0], at[1]);
  release(at[0], at[1]);
  frame();
}

std::array<int32_t, 2> rowCentre(const VMPtr<ui::Addon>& box, int32_t id) {
  VMPtr<VMArray<int32_t, 2>> rects = box->getItemRects();
  for (int32_t i = 0; rects && i < rects->length; ++i) {
    if (box->ids->at(box->firstRow + i) != id) continue;
    VMPtr<VMArray<int32_t>> r = rects->get(i);
    return {r->at(0) + r->at(2) / 2, r->at(1) + r->at(3) / 2};
  }
  ADD_FAILURE() << "no row " << id;
  return {-1, -1};
}

void MenuStateEnv::tapPause() {
  const int32_t(&b)[4] = playscene::kPauseBox;
  tap({b[0] + b[2] / 2, b[1] + b[3] / 2});
}

int32_t MenuStateEnv::framesUntil(const std::function<bool()>& done, int32_t limit) {
  int32_t n = 0;
  for (; n < limit && !done(); ++n) frame();
  return n;
}

int32_t MenuStateEnv::framesUntilStep(int32_t state, int32_t step, int32_t limit) {
  return framesUntil(
      [&] {
        VMPtr<InGame> s = scene();
        return s && s->state == state && s->subStep == step;
      },
      limit);
}

content::Bytes flatLevel() { return playscene::sceneLevel({}); }

content::Bytes deadlyLevel() {
  playscene::SceneLevel l;
  l.deadlyX = {160};
  return playscene::sceneLevel(l);
}

}  // namespace gametest
