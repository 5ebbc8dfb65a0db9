#pragma once

#include <cstdint>

#include "VMClassKit.h"
#include "javax_microedition_io_Connection.h"

namespace java::lang {
class String;
}

namespace com::ravelstone::brume::cldc::io {

// What every protocol class implements: Connector makes a fresh instance
// of the class named after the URL's scheme and opens it through this.
class ConnectionBaseInterface : public virtual java::lang::Object {
  VM_INTERFACE_CLASS(ConnectionBaseInterface)

 public:
  // Opens the connection for the whole URL `name`.
  virtual VMPtr<javax::microedition::io::Connection> openPrim(VMPtr<java::lang::String> name, int32_t mode,
                                                              uint8_t timeouts) = 0;
};

}  // namespace com::ravelstone::brume::cldc::io
