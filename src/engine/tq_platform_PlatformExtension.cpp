#include "tq_platform_PlatformExtension.h"

VM_REGISTER_CLASS(tq::platform::PlatformExtension, "tq.platform.PlatformExtension", "java.lang.Object",
                  VM_INTERFACE);
