#pragma once

#include <cstdint>

#include "VMClassKit.h"
#include "javax_microedition_io_StreamConnection.h"

namespace javax::microedition::io {

// A stream connection to a host and port ("socket://host:port"). It adds
// no operation to StreamConnection here. No protocol class of this system
// provides it: Connector.open of a "socket://" URL fails with
// ConnectionNotFoundException.
class SocketConnection : public virtual StreamConnection {
  VM_INTERFACE_CLASS(SocketConnection)
};

}  // namespace javax::microedition::io
