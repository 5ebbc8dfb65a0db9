#include "javax_microedition_io_HttpConnection.h"

#include "java_lang_String.h"

VM_REGISTER_CLASS(javax::microedition::io::HttpConnection, "javax.microedition.io.HttpConnection", "java.lang.Object",
                  VM_INTERFACE | VM_HAS_CLINIT);
VM_IMPLEMENTS(javax::microedition::io::HttpConnection, "javax.microedition.io.ContentConnection");

namespace javax::microedition::io {

VMStatic<java::lang::String> HttpConnection::HEAD;
VMStatic<java::lang::String> HttpConnection::GET;
VMStatic<java::lang::String> HttpConnection::POST;

void HttpConnection::_VM_clinit() {
  HEAD = _VM_intern("HEAD");
  GET = _VM_intern("GET");
  POST = _VM_intern("POST");
}

}  // namespace javax::microedition::io
