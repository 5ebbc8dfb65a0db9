#pragma once

#include <cstdint>

#include "VMClassKit.h"
#include "javax_microedition_io_Connection.h"

namespace java::lang {
class String;
}

namespace javax::microedition::io {

// The one way to open a connection from a URL. The scheme (the text before
// the first ':', with '-' read as '_') names the protocol class
// "<protocol path>.<scheme>.Protocol", where the protocol path is the
// system property "javax.microedition.io.Connector.protocolpath" (read once,
// by the static initialiser; "com.ravelstone.brume.io." without it). The
// class is made through the class registry and opened with the whole URL;
// a scheme without a class fails with ConnectionNotFoundException. The
// scheme is not lower-cased. Connector keeps no per-call state.
class Connector : public virtual java::lang::Object {
  VM_CLASS(Connector, java::lang::Object)

 public:
  static constexpr int32_t READ = 1;
  static constexpr int32_t WRITE = 2;
  static constexpr int32_t READ_WRITE = 3;

  static VMPtr<Connection> open(VMPtr<java::lang::String> name);
  static VMPtr<Connection> open(VMPtr<java::lang::String> name, int32_t mode);
  // The mode is handed to the protocol unchecked.
  static VMPtr<Connection> open(VMPtr<java::lang::String> name, int32_t mode, uint8_t timeouts);

  static void _VM_clinit();
  static VMStatic<java::lang::String> protocolPath;
};

}  // namespace javax::microedition::io
