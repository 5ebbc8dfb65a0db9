#include "tq_Resources_TQC_Type_TQC_Video.h"

VM_REGISTER_CLASS(tq::Resources_TQC_Type_TQC_Video, "tq.Resources$Type$Video", "java.lang.Object", VM_INTERFACE);
