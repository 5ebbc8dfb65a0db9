#include "java_io_DataInput.h"

VM_REGISTER_CLASS(java::io::DataInput, "java.io.DataInput", "java.lang.Object", VM_INTERFACE);
