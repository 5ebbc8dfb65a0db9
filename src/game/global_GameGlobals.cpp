#include "global_GameGlobals.h"

VM_REGISTER_CLASS(global::GameGlobals, "global.GameGlobals", "", VM_INTERFACE);
