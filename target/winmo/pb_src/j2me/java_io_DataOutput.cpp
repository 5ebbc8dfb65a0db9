#include "java_io_DataOutput.h"

VM_REGISTER_CLASS(java::io::DataOutput, "java.io.DataOutput", "java.lang.Object", VM_INTERFACE);
