#include "java_lang_NumberFormatException.h"

VM_REGISTER_CLASS(java::lang::NumberFormatException, "java.lang.NumberFormatException", "java.lang.IllegalArgumentException", VM_INSTANTIABLE);
