#pragma once

#include "VMClassKit.h"

namespace generated {

// A constant-only interface of the build: the entity groups of level data. Its values are folded
// into the code that uses them, so at run time it is only a registered
// class, with no superclass and no static state.
class LevelEntity : public virtual java::lang::Object {
  VM_INTERFACE_CLASS(LevelEntity)
};

}  // namespace generated
