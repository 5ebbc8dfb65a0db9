#include "java_lang_NoClassDefFoundError.h"

VM_REGISTER_CLASS(java::lang::NoClassDefFoundError, "java.lang.NoClassDefFoundError", "java.lang.Error", VM_INSTANTIABLE);
