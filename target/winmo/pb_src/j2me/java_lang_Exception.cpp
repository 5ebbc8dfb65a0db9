#include "java_lang_Exception.h"

VM_REGISTER_CLASS(java::lang::Exception, "java.lang.Exception", "java.lang.Throwable", VM_INSTANTIABLE);
