#include "javax_microedition_media_Controllable.h"

VM_REGISTER_CLASS(javax::microedition::media::Controllable, "javax.microedition.media.Controllable",
                  "java.lang.Object", VM_INTERFACE);
