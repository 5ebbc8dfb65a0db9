#include "java_lang_Error.h"

VM_REGISTER_CLASS(java::lang::Error, "java.lang.Error", "java.lang.Throwable", VM_INSTANTIABLE);
