#include "tq_Resources_TQC_Type_TQC_Ravelstone.h"

VM_REGISTER_CLASS(tq::Resources_TQC_Type_TQC_Ravelstone, "tq.Resources$Type$Ravelstone", "java.lang.Object", VM_INTERFACE);
