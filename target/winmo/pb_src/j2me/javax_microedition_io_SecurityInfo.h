#pragma once

#include <cstdint>

#include "VMClassKit.h"

namespace javax::microedition::io {

// What a secure connection knows of its security. This system reports none:
// no connection ever gives one.
class SecurityInfo : public virtual java::lang::Object {
  VM_INTERFACE_CLASS(SecurityInfo)
};

}  // namespace javax::microedition::io
