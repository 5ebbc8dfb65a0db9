#include "javax_microedition_rms_InvalidRecordIDException.h"

VM_REGISTER_CLASS(javax::microedition::rms::InvalidRecordIDException, "javax.microedition.rms.InvalidRecordIDException", "javax.microedition.rms.RecordStoreException", VM_INSTANTIABLE);
