#pragma once

#include <cstdint>

#include "VMClassKit.h"
#include "javax_microedition_io_InputConnection.h"
#include "javax_microedition_io_OutputConnection.h"

namespace javax::microedition::io {

// A connection that is both an input and an output connection.
class StreamConnection : public virtual InputConnection, public virtual OutputConnection {
  VM_INTERFACE_CLASS(StreamConnection)
};

}  // namespace javax::microedition::io
