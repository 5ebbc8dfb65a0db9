#include "javax_microedition_io_HttpsConnection.h"

VM_REGISTER_CLASS(javax::microedition::io::HttpsConnection, "javax.microedition.io.HttpsConnection", "java.lang.Object", VM_INTERFACE);
VM_IMPLEMENTS(javax::microedition::io::HttpsConnection, "javax.microedition.io.HttpConnection");
