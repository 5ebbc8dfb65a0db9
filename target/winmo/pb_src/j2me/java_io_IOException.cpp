#include "java_io_IOException.h"

VM_REGISTER_CLASS(java::io::IOException, "java.io.IOException", "java.lang.Exception", VM_INSTANTIABLE);
