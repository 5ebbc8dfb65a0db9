#pragma once

#include <cstdint>

#include "java_io_IOException.h"

namespace javax::microedition::io {

class ConnectionNotFoundException : public java::io::IOException {
  VM_THROWABLE_CLASS(ConnectionNotFoundException)

 public:
  VMPtr<ConnectionNotFoundException> _VM_init();
  VMPtr<ConnectionNotFoundException> _VM_init(VMPtr<java::lang::String> message);
};

}  // namespace javax::microedition::io
