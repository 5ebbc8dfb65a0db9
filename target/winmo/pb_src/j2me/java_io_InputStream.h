#pragma once

#include "VMClassKit.h"

namespace java::io {

// The abstract byte input stream.
class InputStream : public virtual java::lang::Object {
  VM_CLASS(InputStream)

 public:
  VMPtr<InputStream> _VM_init();
  // The next byte (0-255), or -1 at the end of the data.
  virtual int32_t read() = 0;
};

}  // namespace java::io
