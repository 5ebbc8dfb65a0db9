#pragma once

#include "VMClassKit.h"

namespace javax::microedition::lcdui {

class Command;
class Displayable;

// Told when the user picks a command of the displayable it listens to; runs
// on the main thread under the display's event dispatch lock.
class CommandListener : public virtual java::lang::Object {
  VM_INTERFACE_CLASS(CommandListener)

 public:
  virtual void commandAction(VMPtr<Command> command, VMPtr<Displayable> displayable) = 0;
};

}  // namespace javax::microedition::lcdui
