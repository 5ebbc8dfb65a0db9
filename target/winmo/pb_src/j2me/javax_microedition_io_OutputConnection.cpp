#include "javax_microedition_io_OutputConnection.h"

VM_REGISTER_CLASS(javax::microedition::io::OutputConnection, "javax.microedition.io.OutputConnection", "java.lang.Object", VM_INTERFACE);
VM_IMPLEMENTS(javax::microedition::io::OutputConnection, "javax.microedition.io.Connection");
