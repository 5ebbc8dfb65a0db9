// Must not compile: the platform layer sees the runtime only through its
// header of services, not through the allocator's own header.
// error: VMHeap.h: No such file
#include "HALStatus.h"
#include "VMServices.h"
#include "VMHeap.h"
