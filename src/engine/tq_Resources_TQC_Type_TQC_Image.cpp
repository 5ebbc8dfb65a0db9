#include "tq_Resources_TQC_Type_TQC_Image.h"

VM_REGISTER_CLASS(tq::Resources_TQC_Type_TQC_Image, "tq.Resources$Type$Image", "java.lang.Object", VM_INTERFACE);
