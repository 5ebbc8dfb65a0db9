#pragma once

#include "VMClassKit.h"

namespace generated {

// A constant-only interface of the build: the resource-pack numbers (the ids themselves are in GameIds.h). Its values are folded
// into the code that uses them, so at run time it is only a registered
// class, with no superclass and no static state.
class RP : public virtual java::lang::Object {
  VM_INTERFACE_CLASS(RP)
};

}  // namespace generated
