#include "VMJava.h"

#include "VMThrow.h"
#include "java_lang_ArithmeticException.h"
#include "java_lang_ClassCastException.h"

void _VM_throwClassCastException() { _VM_throwNew<java::lang::ClassCastException>(); }
void _VM_throwDivideByZero() { _VM_throwNew<java::lang::ArithmeticException>("/ by zero"); }
