#pragma once

#include <cstdint>

#include "VMClassKit.h"
#include "javax_microedition_io_Connection.h"

namespace java::io {
class InputStream;
class DataInputStream;
}  // namespace java::io

namespace javax::microedition::io {

// A connection from which data can be read.
class InputConnection : public virtual Connection {
  VM_INTERFACE_CLASS(InputConnection)

 public:
  virtual VMPtr<java::io::InputStream> openInputStream() = 0;
  virtual VMPtr<java::io::DataInputStream> openDataInputStream() = 0;
};

}  // namespace javax::microedition::io
