#include "java_lang_IndexOutOfBoundsException.h"

VM_REGISTER_CLASS(java::lang::IndexOutOfBoundsException, "java.lang.IndexOutOfBoundsException", "java.lang.RuntimeException", VM_INSTANTIABLE);
