#pragma once

#include "VMClassKit.h"

namespace generated::prop {

// A constant-only interface of the build: the property numbers of level entities. Its values are folded
// into the code that uses them, so at run time it is only a registered
// class, with no superclass and no static state.
class PropNum : public virtual java::lang::Object {
  VM_INTERFACE_CLASS(PropNum)
};

}  // namespace generated::prop
