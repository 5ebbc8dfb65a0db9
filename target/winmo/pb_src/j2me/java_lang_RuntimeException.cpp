#include "java_lang_RuntimeException.h"

VM_REGISTER_CLASS(java::lang::RuntimeException, "java.lang.RuntimeException", "java.lang.Exception", VM_INSTANTIABLE);
