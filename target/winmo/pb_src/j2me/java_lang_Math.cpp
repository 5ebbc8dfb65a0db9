#include "java_lang_Math.h"

VM_REGISTER_CLASS(java::lang::Math, "java.lang.Math", "java.lang.Object", 0);
