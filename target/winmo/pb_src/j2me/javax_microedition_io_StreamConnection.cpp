#include "javax_microedition_io_StreamConnection.h"

VM_REGISTER_CLASS(javax::microedition::io::StreamConnection, "javax.microedition.io.StreamConnection", "java.lang.Object", VM_INTERFACE);
VM_IMPLEMENTS(javax::microedition::io::StreamConnection, "javax.microedition.io.InputConnection");
VM_IMPLEMENTS(javax::microedition::io::StreamConnection, "javax.microedition.io.OutputConnection");
