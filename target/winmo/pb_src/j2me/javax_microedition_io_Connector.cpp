#include "javax_microedition_io_Connector.h"

#include "VMThrow.h"
#include "com_ravelstone_brume_cldc_io_ConnectionBaseInterface.h"
#include "java_io_IOException.h"
#include "java_lang_Class.h"
#include "java_lang_ClassCastException.h"
#include "java_lang_ClassNotFoundException.h"
#include "java_lang_IllegalAccessException.h"
#include "java_lang_IllegalArgumentException.h"
#include "java_lang_InstantiationException.h"
#include "java_lang_String.h"
#include "java_lang_StringBuffer.h"
#include "java_lang_System.h"
#include "javax_microedition_io_ConnectionNotFoundException.h"

VM_REGISTER_CLASS(javax::microedition::io::Connector, "javax.microedition.io.Connector", "java.lang.Object",
                  VM_HAS_CLINIT);

namespace javax::microedition::io {

using com::ravelstone::brume::cldc::io::ConnectionBaseInterface;
using java::lang::String;
using java::lang::StringBuffer;

VMStatic<String> Connector::protocolPath;

void Connector::_VM_clinit() {
  protocolPath = java::lang::System::getProperty(_VM_intern("javax.microedition.io.Connector.protocolpath"));
}

VMPtr<Connection> Connector::open(VMPtr<String> name) { return open(name, READ_WRITE, 0); }

VMPtr<Connection> Connector::open(VMPtr<String> name, int32_t mode) { return open(name, mode, 0); }

namespace {

// "<protocol path>.<scheme>.Protocol", one dot after the path.
VMPtr<String> protocolClassName(VMPtr<String> path, VMPtr<String> name, int32_t colon) {
  if (!path) path = _VM_intern("com.ravelstone.brume.io.");
  VMPtr<StringBuffer> buffer = StringBuffer::_VM_new();
  buffer->_VM_init();
  buffer->append(path);
  if (path->length() == 0 || path->charAt(path->length() - 1) != u'.') buffer->append(u'.');
  for (int32_t i = 0; i < colon; ++i) {
    const char16_t c = name->charAt(i);
    buffer->append(c == u'-' ? u'_' : c);
  }
  buffer->append(".Protocol");
  return buffer->toString();
}

// A fresh instance of the protocol class; the registry's failures become
// the connection errors.
VMPtr<ConnectionBaseInterface> newProtocol(VMPtr<String> className, VMPtr<String> name) {
  try {
    VMPtr<java::lang::Class> c = java::lang::Class::forName(className);
    VMPtr<java::lang::Object> made = c->newInstance();
    auto* protocol = dynamic_cast<ConnectionBaseInterface*>(made.get());
    if (protocol == nullptr) _VM_throwNew<java::lang::ClassCastException>();
    return VMPtr<ConnectionBaseInterface>(protocol);
  } catch (java::lang::ClassNotFoundException* e) {
    VMPtr<java::lang::ClassNotFoundException> caught(e);
    VMPtr<StringBuffer> message = StringBuffer::_VM_new();
    message->_VM_init();
    message->append("The requested protocol does not exist ");
    message->append(name);
    _VM_throwNew<ConnectionNotFoundException>(message->toString());
  } catch (java::lang::InstantiationException* e) {
    VMPtr<java::lang::Throwable> caught(e);
    _VM_throwNew<java::io::IOException>(caught->toString());
  } catch (java::lang::IllegalAccessException* e) {
    VMPtr<java::lang::Throwable> caught(e);
    _VM_throwNew<java::io::IOException>(caught->toString());
  } catch (java::lang::ClassCastException* e) {
    VMPtr<java::lang::Throwable> caught(e);
    _VM_throwNew<java::io::IOException>(caught->toString());
  }
}

}  // namespace

VMPtr<Connection> Connector::open(VMPtr<String> name, int32_t mode, uint8_t timeouts) {
  _VM_clinitCheck();
  if (!name) _VM_throwNew<java::lang::IllegalArgumentException>("Null URL");
  const int32_t colon = name->indexOf(u':');
  if (colon == 0) _VM_throwNew<java::lang::IllegalArgumentException>("empty protocol in URL");
  if (colon < 0) _VM_throwNew<java::lang::IllegalArgumentException>("no ':' in URL");
  VMPtr<String> path = protocolPath;
  VMPtr<ConnectionBaseInterface> protocol = newProtocol(protocolClassName(path, name, colon), name);
  return protocol->openPrim(name, mode, timeouts);
}

}  // namespace javax::microedition::io
