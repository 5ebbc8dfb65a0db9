#include "java_util_NoSuchElementException.h"

VM_REGISTER_CLASS(java::util::NoSuchElementException, "java.util.NoSuchElementException", "java.lang.RuntimeException", VM_INSTANTIABLE);
