#include "javax_microedition_rms_RecordStoreException.h"

VM_REGISTER_CLASS(javax::microedition::rms::RecordStoreException, "javax.microedition.rms.RecordStoreException", "java.lang.Exception", VM_INSTANTIABLE);
