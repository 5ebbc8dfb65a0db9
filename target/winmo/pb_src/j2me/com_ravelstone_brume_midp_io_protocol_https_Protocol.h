#pragma once

#include <cstdint>

#include "VMClassKit.h"
#include "com_ravelstone_brume_midp_io_protocol_http_Protocol.h"
#include "javax_microedition_io_HttpsConnection.h"

namespace com::ravelstone::brume::midp::io::protocol::https {

// The HTTPS connection: the HTTP connection (the platform client speaks
// TLS for https URLs) that names itself "https", reports port 443 where
// the URL gives none (or 80) and has no security information.
class Protocol : public http::Protocol, public virtual javax::microedition::io::HttpsConnection {
  VM_CLASS(Protocol, http::Protocol)

 public:
  VMPtr<Protocol> _VM_init();

  VMPtr<java::lang::String> getProtocol() override;
  int32_t getPort() override;
  VMPtr<javax::microedition::io::SecurityInfo> getSecurityInfo() override;

  static void _VM_clinit();
  static VMStatic<java::lang::String> protocolName;
};

}  // namespace com::ravelstone::brume::midp::io::protocol::https
