#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"

namespace tq {

class Gob;

// The second static-only class of resource loading, beside Resources: it
// holds the sprite-set entry points, which come with the sprites.
class ResourcesExt : public virtual java::lang::Object {
  VM_CLASS(ResourcesExt, java::lang::Object)

 public:
  // The sprite set of resource `id` (Resources::loadGobs over its stream),
  // its sheet decoded with `palette` when one is given.
  static VMPtr<VMArray<Gob>> getGobs(int32_t id);
  static VMPtr<VMArray<Gob>> getGobs(int32_t id, VMPtr<VMArray<int8_t>> palette);
};

}  // namespace tq
