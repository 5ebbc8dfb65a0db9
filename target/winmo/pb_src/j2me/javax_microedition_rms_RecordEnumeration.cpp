#include "javax_microedition_rms_RecordEnumeration.h"

VM_REGISTER_CLASS(javax::microedition::rms::RecordEnumeration, "javax.microedition.rms.RecordEnumeration",
                  "java.lang.Object", VM_INTERFACE);
