#include "java_lang_NullPointerException.h"

VM_REGISTER_CLASS(java::lang::NullPointerException, "java.lang.NullPointerException", "java.lang.RuntimeException", VM_INSTANTIABLE);
