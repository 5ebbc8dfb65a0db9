#include "javax_microedition_rms_RecordFilter.h"

VM_REGISTER_CLASS(javax::microedition::rms::RecordFilter, "javax.microedition.rms.RecordFilter", "java.lang.Object",
                  VM_INTERFACE);
