#pragma once

#include "VMClassKit.h"

namespace tq {

// The second static-only class of resource loading, beside Resources: it
// holds the sprite-set entry points, which come with the sprites.
class ResourcesExt : public virtual java::lang::Object {
  VM_CLASS(ResourcesExt, java::lang::Object)
};

}  // namespace tq
