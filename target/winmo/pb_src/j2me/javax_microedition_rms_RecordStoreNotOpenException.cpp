#include "javax_microedition_rms_RecordStoreNotOpenException.h"

VM_REGISTER_CLASS(javax::microedition::rms::RecordStoreNotOpenException, "javax.microedition.rms.RecordStoreNotOpenException", "javax.microedition.rms.RecordStoreException", VM_INSTANTIABLE);
