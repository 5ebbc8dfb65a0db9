#include "java_lang_ArithmeticException.h"

VM_REGISTER_CLASS(java::lang::ArithmeticException, "java.lang.ArithmeticException", "java.lang.RuntimeException", VM_INSTANTIABLE);
