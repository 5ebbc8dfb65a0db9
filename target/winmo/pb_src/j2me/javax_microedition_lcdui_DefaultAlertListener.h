#pragma once

#include "VMClassKit.h"

namespace javax::microedition::lcdui {

// The listener an alert starts with; it reacts to nothing here.
class DefaultAlertListener : public virtual java::lang::Object {
  VM_CLASS(DefaultAlertListener, java::lang::Object)

 public:
  VMPtr<DefaultAlertListener> _VM_init() {
    Object::_VM_init();
    return VMPtr<DefaultAlertListener>(this);
  }
};

}  // namespace javax::microedition::lcdui
