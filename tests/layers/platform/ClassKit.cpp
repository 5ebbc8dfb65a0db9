// Must not compile: the platform layer does not see the class kit.
// error: VMRef.h: No such file
#include "CeWindows.h"
#include "VMRef.h"
