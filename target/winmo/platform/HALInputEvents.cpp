#include "HALInputEvents.h"

#include "DeviceProfile.h"
#include "HALEvents.h"

void HAL_raiseInputEvent(int type, int count, const intptr_t* payload) { HAL_sendEvent(type, count, payload, true); }

uint32_t HAL_getTickCount() { return static_cast<uint32_t>(DeviceProfile::instance().tickMillis()); }
