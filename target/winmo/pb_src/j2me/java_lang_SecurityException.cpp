#include "java_lang_SecurityException.h"

VM_REGISTER_CLASS(java::lang::SecurityException, "java.lang.SecurityException", "java.lang.RuntimeException", VM_INSTANTIABLE);
