#include "javax_microedition_io_ConnectionNotFoundException.h"

VM_REGISTER_CLASS(javax::microedition::io::ConnectionNotFoundException, "javax.microedition.io.ConnectionNotFoundException", "java.io.IOException", VM_INSTANTIABLE);
