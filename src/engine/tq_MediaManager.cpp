#include "tq_MediaManager.h"

VM_REGISTER_CLASS(tq::MediaManager, "tq.MediaManager", "java.lang.Object", VM_INTERFACE);
VM_IMPLEMENTS(tq::MediaManager, "tq.MediaManagerVideo");
