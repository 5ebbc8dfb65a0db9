#include "tq_GobTextureHelper.h"

VM_REGISTER_CLASS(tq::GobTextureHelper, "tq.GobTextureHelper", "java.lang.Object", VM_INSTANTIABLE);
