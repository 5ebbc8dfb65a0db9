#include "javax_microedition_io_ContentConnection.h"

VM_REGISTER_CLASS(javax::microedition::io::ContentConnection, "javax.microedition.io.ContentConnection", "java.lang.Object", VM_INTERFACE);
VM_IMPLEMENTS(javax::microedition::io::ContentConnection, "javax.microedition.io.StreamConnection");
