#pragma once

#include <cstdint>

#include "VMClassKit.h"
#include "javax_microedition_io_StreamConnection.h"

namespace java::lang {
class String;
}

namespace javax::microedition::io {

// A stream connection whose content has a type, an encoding and a length.
class ContentConnection : public virtual StreamConnection {
  VM_INTERFACE_CLASS(ContentConnection)

 public:
  virtual VMPtr<java::lang::String> getType() = 0;
  virtual VMPtr<java::lang::String> getEncoding() = 0;
  // The content length, -1 when unknown.
  virtual int64_t getLength() = 0;
};

}  // namespace javax::microedition::io
