#pragma once

#include "VMClassKit.h"

namespace tq {

// A type name for the image resource type codes; it has no operations,
// its codes are constants folded into the code that uses them.
class Resources_TQC_Type_TQC_Image : public virtual java::lang::Object {
  VM_INTERFACE_CLASS(Resources_TQC_Type_TQC_Image)
};

}  // namespace tq
