#include "java_util_Enumeration.h"

VM_REGISTER_CLASS(java::util::Enumeration, "java.util.Enumeration", "java.lang.Object", VM_INTERFACE);
