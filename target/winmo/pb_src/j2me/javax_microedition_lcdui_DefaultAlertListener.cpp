#include "javax_microedition_lcdui_DefaultAlertListener.h"

VM_REGISTER_CLASS(javax::microedition::lcdui::DefaultAlertListener, "javax.microedition.lcdui.DefaultAlertListener",
                  "java.lang.Object", VM_INSTANTIABLE);
