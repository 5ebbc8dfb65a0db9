#include "javax_microedition_midlet_MIDletStateChangeException.h"

VM_REGISTER_CLASS(javax::microedition::midlet::MIDletStateChangeException, "javax.microedition.midlet.MIDletStateChangeException", "java.lang.Exception", VM_INSTANTIABLE);
