#include "javax_microedition_media_Player.h"

VM_REGISTER_CLASS(javax::microedition::media::Player, "javax.microedition.media.Player", "java.lang.Object",
                  VM_INTERFACE);
VM_IMPLEMENTS(javax::microedition::media::Player, "javax.microedition.media.Controllable");
