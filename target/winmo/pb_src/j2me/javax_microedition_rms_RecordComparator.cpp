#include "javax_microedition_rms_RecordComparator.h"

VM_REGISTER_CLASS(javax::microedition::rms::RecordComparator, "javax.microedition.rms.RecordComparator",
                  "java.lang.Object", VM_INTERFACE);
