#include "javax_microedition_rms_RecordStoreNotFoundException.h"

VM_REGISTER_CLASS(javax::microedition::rms::RecordStoreNotFoundException, "javax.microedition.rms.RecordStoreNotFoundException", "javax.microedition.rms.RecordStoreException", VM_INSTANTIABLE);
