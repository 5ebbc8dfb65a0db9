#include "javax_microedition_media_control_VolumeControl.h"

VM_REGISTER_CLASS(javax::microedition::media::control::VolumeControl, "javax.microedition.media.control.VolumeControl",
                  "java.lang.Object", VM_INTERFACE);
VM_IMPLEMENTS(javax::microedition::media::control::VolumeControl, "javax.microedition.media.Control");
