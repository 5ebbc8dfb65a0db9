#include "javax_microedition_lcdui_CommandListener.h"

VM_REGISTER_CLASS(javax::microedition::lcdui::CommandListener, "javax.microedition.lcdui.CommandListener",
                  "java.lang.Object", VM_INTERFACE);
