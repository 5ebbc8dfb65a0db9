// Must not compile: the stand-in for the phone system sees no layer above it.
// error: HALStatus.h: No such file
#include "CeWindows.h"
#include "HALStatus.h"
