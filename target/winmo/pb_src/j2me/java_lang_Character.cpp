#include "java_lang_Character.h"

VM_REGISTER_CLASS(java::lang::Character, "java.lang.Character", "java.lang.Object", 0);
