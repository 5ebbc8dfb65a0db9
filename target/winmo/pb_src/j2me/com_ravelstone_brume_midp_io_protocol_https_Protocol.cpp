#include "com_ravelstone_brume_midp_io_protocol_https_Protocol.h"

VM_REGISTER_CLASS(com::ravelstone::brume::midp::io::protocol::https::Protocol,
                  "com.ravelstone.brume.midp.io.protocol.https.Protocol",
                  "com.ravelstone.brume.midp.io.protocol.http.Protocol", VM_INSTANTIABLE | VM_HAS_CLINIT);
VM_IMPLEMENTS(com::ravelstone::brume::midp::io::protocol::https::Protocol, "javax.microedition.io.HttpsConnection");

namespace com::ravelstone::brume::midp::io::protocol::https {

VMStatic<java::lang::String> Protocol::protocolName;

void Protocol::_VM_clinit() { protocolName = _VM_intern("https"); }

VMPtr<Protocol> Protocol::_VM_init() {
  http::Protocol::_VM_init();
  return VMPtr<Protocol>(this);
}

VMPtr<java::lang::String> Protocol::getProtocol() {
  checkOpen();
  _VM_clinitCheck();
  return protocolName;
}

int32_t Protocol::getPort() {
  const int32_t port = http::Protocol::getPort();
  return port == 80 ? 443 : port;
}

VMPtr<javax::microedition::io::SecurityInfo> Protocol::getSecurityInfo() {
  return VMPtr<javax::microedition::io::SecurityInfo>();
}

}  // namespace com::ravelstone::brume::midp::io::protocol::https
