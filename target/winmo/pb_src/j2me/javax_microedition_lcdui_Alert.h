#pragma once

#include "javax_microedition_lcdui_Command.h"
#include "javax_microedition_lcdui_Screen.h"

namespace javax::microedition::lcdui {

// A screen shown before another displayable. It has no window record of
// its own on this platform: the display only keeps which displayable
// follows it.
class Alert : public Screen {
  VM_CLASS(Alert, Screen)

 public:
  // The command that dismisses an alert: empty label, type OK, priority 0.
  static VMStatic<Command> DISMISS_COMMAND;

  VMPtr<Alert> _VM_init(VMPtr<java::lang::String> title);
  // The displayable shown after this alert.
  void setNext(VMPtr<Displayable> next) { nextDisplayable = next; }
  VMPtr<Displayable> getNext() { return nextDisplayable; }

  void _VM_markReferences(int colour) override;
  static void _VM_clinit();

  VMField<Displayable> nextDisplayable;
};

}  // namespace javax::microedition::lcdui
