// Must not compile: the platform layer does not see the Java classes.
// error: java_lang_Throwable.h: No such file
#include "VMServices.h"
#include "java_lang_Throwable.h"
