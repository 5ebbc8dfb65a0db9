#include "java_lang_InstantiationException.h"

VM_REGISTER_CLASS(java::lang::InstantiationException, "java.lang.InstantiationException", "java.lang.Exception", VM_INSTANTIABLE);
