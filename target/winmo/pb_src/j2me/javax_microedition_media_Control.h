#pragma once

#include "VMClassKit.h"

namespace javax::microedition::media {

// The base of the controls a player offers.
class Control : public virtual java::lang::Object {
  VM_INTERFACE_CLASS(Control)
};

}  // namespace javax::microedition::media
