#include "javax_microedition_io_Connection.h"

VM_REGISTER_CLASS(javax::microedition::io::Connection, "javax.microedition.io.Connection", "java.lang.Object", VM_INTERFACE);
