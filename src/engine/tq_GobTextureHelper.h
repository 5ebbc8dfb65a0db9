#pragma once

#include "VMClassKit.h"

namespace tq {

// A registered engine class without fields or operations.
class GobTextureHelper : public virtual java::lang::Object {
  VM_CLASS(GobTextureHelper, java::lang::Object)
};

}  // namespace tq
