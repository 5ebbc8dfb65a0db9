#include "javax_microedition_media_Control.h"

VM_REGISTER_CLASS(javax::microedition::media::Control, "javax.microedition.media.Control", "java.lang.Object",
                  VM_INTERFACE);
