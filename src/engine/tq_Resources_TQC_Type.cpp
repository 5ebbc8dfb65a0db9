#include "tq_Resources_TQC_Type.h"

VM_REGISTER_CLASS(tq::Resources_TQC_Type, "tq.Resources$Type", "java.lang.Object", VM_INTERFACE);
