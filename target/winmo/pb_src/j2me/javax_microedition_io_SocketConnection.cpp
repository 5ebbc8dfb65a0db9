#include "javax_microedition_io_SocketConnection.h"

VM_REGISTER_CLASS(javax::microedition::io::SocketConnection, "javax.microedition.io.SocketConnection", "java.lang.Object", VM_INTERFACE);
VM_IMPLEMENTS(javax::microedition::io::SocketConnection, "javax.microedition.io.StreamConnection");
