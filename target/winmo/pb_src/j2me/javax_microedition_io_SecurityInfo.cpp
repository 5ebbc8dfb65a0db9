#include "javax_microedition_io_SecurityInfo.h"

VM_REGISTER_CLASS(javax::microedition::io::SecurityInfo, "javax.microedition.io.SecurityInfo", "java.lang.Object", VM_INTERFACE);
