#pragma once

#include "VMClassKit.h"

namespace tq {

// A type name for the resource type codes (the type byte of a pack index); it has no operations,
// its codes are constants folded into the code that uses them.
class Resources_TQC_Type : public virtual java::lang::Object {
  VM_INTERFACE_CLASS(Resources_TQC_Type)
};

}  // namespace tq
