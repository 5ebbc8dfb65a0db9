#pragma once

#include <cstdint>

#include "java_io_IOException.h"

namespace javax::microedition::io {

class ConnectionNotFoundException : public java::io::IOException {
  VM_EXCEPTION_CLASS(ConnectionNotFoundException, java::io::IOException)
};

}  // namespace javax::microedition::io
