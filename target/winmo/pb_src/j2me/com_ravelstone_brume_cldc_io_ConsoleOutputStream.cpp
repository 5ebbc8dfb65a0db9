#include "com_ravelstone_brume_cldc_io_ConsoleOutputStream.h"

#include "HALConsole.h"

VM_REGISTER_CLASS(com::ravelstone::brume::cldc::io::ConsoleOutputStream, "com.ravelstone.brume.cldc.io.ConsoleOutputStream",
                  "java.io.OutputStream", VM_INSTANTIABLE);

namespace com::ravelstone::brume::cldc::io {

VMPtr<ConsoleOutputStream> ConsoleOutputStream::_VM_init() {
  java::io::OutputStream::_VM_init();
  return VMPtr<ConsoleOutputStream>(this);
}

void ConsoleOutputStream::write(int32_t b) { HAL_writeConsoleChar(b); }

}  // namespace com::ravelstone::brume::cldc::io
