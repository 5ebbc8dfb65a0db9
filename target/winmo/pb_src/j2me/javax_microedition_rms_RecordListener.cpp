#include "javax_microedition_rms_RecordListener.h"

VM_REGISTER_CLASS(javax::microedition::rms::RecordListener, "javax.microedition.rms.RecordListener",
                  "java.lang.Object", VM_INTERFACE);
