#pragma once

#include "VMClassKit.h"

namespace generated {

// A constant-only interface of the build: the text ids of the translation tables (named in GameIds.h). Its values are folded
// into the code that uses them, so at run time it is only a registered
// class, with no superclass and no static state.
class Texts : public virtual java::lang::Object {
  VM_INTERFACE_CLASS(Texts)
};

}  // namespace generated
