#pragma once

#include "VMClassKit.h"

namespace generated::entity {

// A constant-only interface of the build: the kinds of cave barrier in level data. Its values are folded
// into the code that uses them, so at run time it is only a registered
// class, with no superclass and no static state.
class CaveBarrier : public virtual java::lang::Object {
  VM_INTERFACE_CLASS(CaveBarrier)
};

}  // namespace generated::entity
