#pragma once

#include "VMClassKit.h"

namespace tq::graphics {

// A registered class with no fields or operations of its own.
class Color : public virtual java::lang::Object {
  VM_CLASS(Color, java::lang::Object)
};

}  // namespace tq::graphics
