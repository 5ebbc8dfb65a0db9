#include "tq_MediaManagerVideo.h"

VM_REGISTER_CLASS(tq::MediaManagerVideo, "tq.MediaManagerVideo", "java.lang.Object", VM_INTERFACE);
