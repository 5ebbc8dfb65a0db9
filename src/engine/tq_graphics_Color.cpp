#include "tq_graphics_Color.h"

VM_REGISTER_CLASS(tq::graphics::Color, "tq.graphics.Color", "java.lang.Object", VM_INSTANTIABLE);
