#pragma once

#include <cstdint>

#include "VMClassKit.h"

namespace javax::microedition::io {

// The most general connection: one that can be closed.
class Connection : public virtual java::lang::Object {
  VM_INTERFACE_CLASS(Connection)

 public:
  virtual void close() = 0;
};

}  // namespace javax::microedition::io
