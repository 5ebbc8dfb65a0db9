#include "java_lang_IllegalStateException.h"

VM_REGISTER_CLASS(java::lang::IllegalStateException, "java.lang.IllegalStateException", "java.lang.RuntimeException", VM_INSTANTIABLE);
