#include "global_GameScene.h"

VM_REGISTER_CLASS(global::GameScene, "global.GameScene", "", VM_INTERFACE);
