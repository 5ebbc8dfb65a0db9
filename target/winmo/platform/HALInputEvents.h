#pragma once

#include <cstdint>

// Where the key and pointer managers send the events they make: by default
// HAL_raiseInputEvent, which raises the event with the global VM lock taken
// (nothing once the exit sequence has begun). Tests put a recorder there.
using HALInputSink = void (*)(int type, int count, const intptr_t* payload);
void HAL_raiseInputEvent(int type, int count, const intptr_t* payload);

// The 32-bit millisecond tick of the system (it wraps after 49.7 days;
// compare ticks by their difference).
uint32_t HAL_getTickCount();
