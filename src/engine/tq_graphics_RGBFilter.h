#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"

namespace tq::graphics {

// Recolours pixel arrays: a subclass maps one ARGB pixel (filterRGB);
// filter walks an array from its last element to its first and maps every
// pixel except the key colour 0x00FF00FF (magenta without alpha).
class RGBFilter : public virtual java::lang::Object {
  VM_CLASS(RGBFilter, java::lang::Object)

 public:
  static constexpr int32_t kKeyColour = 0x00FF00FF;

  VMPtr<RGBFilter> _VM_init();
  virtual int32_t filterRGB(int32_t argb) = 0;
  virtual void filter(VMPtr<VMArray<int32_t>> argb);
};

}  // namespace tq::graphics
