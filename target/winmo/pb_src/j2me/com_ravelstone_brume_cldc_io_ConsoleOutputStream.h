#pragma once

#include <cstdint>

#include "java_io_OutputStream.h"

namespace com::ravelstone::brume::cldc::io {

// The byte sink behind System.out and System.err: each byte goes to the
// platform's standard output, which is flushed at every line feed. A failing
// standard output loses the byte; nothing is reported to Java code.
class ConsoleOutputStream : public java::io::OutputStream {
  VM_CLASS(ConsoleOutputStream, java::io::OutputStream)

 public:
  VMPtr<ConsoleOutputStream> _VM_init();

  using java::io::OutputStream::write;
  void write(int32_t b) override;
};

}  // namespace com::ravelstone::brume::cldc::io
