#pragma once

#include "VMClassKit.h"

namespace global {

// A constant-only interface of the build: the game-wide settings. Its values are folded
// into the code that uses them, so at run time it is only a registered
// class, with no superclass and no static state.
class GameGlobals : public virtual java::lang::Object {
  VM_INTERFACE_CLASS(GameGlobals)
};

}  // namespace global
