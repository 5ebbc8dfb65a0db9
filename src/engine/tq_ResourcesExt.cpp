#include "tq_ResourcesExt.h"

VM_REGISTER_CLASS(tq::ResourcesExt, "tq.ResourcesExt", "java.lang.Object", VM_INSTANTIABLE);
