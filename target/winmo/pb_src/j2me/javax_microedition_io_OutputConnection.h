#pragma once

#include <cstdint>

#include "VMClassKit.h"
#include "javax_microedition_io_Connection.h"

namespace java::io {
class OutputStream;
class DataOutputStream;
}  // namespace java::io

namespace javax::microedition::io {

// A connection to which data can be written.
class OutputConnection : public virtual Connection {
  VM_INTERFACE_CLASS(OutputConnection)

 public:
  virtual VMPtr<java::io::OutputStream> openOutputStream() = 0;
  virtual VMPtr<java::io::DataOutputStream> openDataOutputStream() = 0;
};

}  // namespace javax::microedition::io
