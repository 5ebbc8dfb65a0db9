#pragma once

#include "javax_microedition_lcdui_Displayable.h"

namespace javax::microedition::lcdui {

// The base of the high-level displayables; it adds nothing to Displayable.
class Screen : public Displayable {
  VM_CLASS(Screen, Displayable)

 public:
  VMPtr<Screen> _VM_init();
};

}  // namespace javax::microedition::lcdui
