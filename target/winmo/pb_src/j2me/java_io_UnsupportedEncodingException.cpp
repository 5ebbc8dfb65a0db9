#include "java_io_UnsupportedEncodingException.h"

VM_REGISTER_CLASS(java::io::UnsupportedEncodingException, "java.io.UnsupportedEncodingException", "java.io.IOException", VM_INSTANTIABLE);
