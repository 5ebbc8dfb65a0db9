#include "java_lang_IllegalArgumentException.h"

VM_REGISTER_CLASS(java::lang::IllegalArgumentException, "java.lang.IllegalArgumentException", "java.lang.RuntimeException", VM_INSTANTIABLE);
