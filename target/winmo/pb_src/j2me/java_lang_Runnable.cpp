#include "java_lang_Runnable.h"

VM_REGISTER_CLASS(java::lang::Runnable, "java.lang.Runnable", "java.lang.Object", VM_INTERFACE);
