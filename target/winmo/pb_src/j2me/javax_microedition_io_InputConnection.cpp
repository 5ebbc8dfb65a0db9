#include "javax_microedition_io_InputConnection.h"

VM_REGISTER_CLASS(javax::microedition::io::InputConnection, "javax.microedition.io.InputConnection", "java.lang.Object", VM_INTERFACE);
VM_IMPLEMENTS(javax::microedition::io::InputConnection, "javax.microedition.io.Connection");
