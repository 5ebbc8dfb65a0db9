#include "tq_Resources_TQC_Type_TQC_Audio.h"

VM_REGISTER_CLASS(tq::Resources_TQC_Type_TQC_Audio, "tq.Resources$Type$Audio", "java.lang.Object", VM_INTERFACE);
