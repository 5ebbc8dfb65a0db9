// Must not compile: the stand-in for the phone system does not call the runtime.
// error: VMServices.h: No such file
#include "DeviceProfile.h"
#include "VMServices.h"
