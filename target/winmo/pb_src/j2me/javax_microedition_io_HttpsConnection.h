#pragma once

#include <cstdint>

#include "VMClassKit.h"
#include "javax_microedition_io_HttpConnection.h"
#include "javax_microedition_io_SecurityInfo.h"

namespace javax::microedition::io {

// An HTTP connection over TLS.
class HttpsConnection : public virtual HttpConnection {
  VM_INTERFACE_CLASS(HttpsConnection)

 public:
  virtual VMPtr<SecurityInfo> getSecurityInfo() = 0;
};

}  // namespace javax::microedition::io
