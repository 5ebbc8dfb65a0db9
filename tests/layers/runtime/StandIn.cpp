// Must not compile: the runtime reaches the phone system only through the
// platform layer.
// error: CeWindows.h: No such file
#include "HALDisplayable.h"
#include "VMClassKit.h"
#include "CeWindows.h"
