#include "java_io_PrintStream.h"

#include "VMSynchronized.h"
#include "java_io_IOException.h"
#include "java_lang_String.h"

VM_REGISTER_CLASS(java::io::PrintStream, "java.io.PrintStream", "java.io.OutputStream", 0);

namespace java::io {

using java::lang::String;

VMPtr<PrintStream> PrintStream::_VM_init(VMPtr<OutputStream> out) {
  OutputStream::_VM_init();
  if (!out) _VM_throwNullPointerException();
  this->out = out;
  VMPtr<OutputStreamWriter> writer = OutputStreamWriter::_VM_new();
  writer->_VM_init(out);
  charOut = writer;
  return VMPtr<PrintStream>(this);
}

void PrintStream::ensureOpen() {
  if (!charOut) _VM_throwNullPointerException();
}

void PrintStream::write(int32_t b) {
  writeOpen([&] { out->write(b); });
}

void PrintStream::write(VMPtr<Bytes> buf, int32_t off, int32_t len) {
  writeOpen([&] { out->write(buf, off, len); });
}

void PrintStream::flush() {
  writeOpen([&] { charOut->flush(); });
}

void PrintStream::close() {
  VMSynchronized guard(this);
  if (closed) return;
  closed = 1;
  try {
    charOut->close();
    charOut = nullptr;
    out = nullptr;
  } catch (IOException*) {
    trouble = 1;
  }
}

uint8_t PrintStream::checkError() {
  if (charOut) flush();
  return trouble;
}

void PrintStream::setError() { trouble = 1; }

void PrintStream::writeText(VMPtr<String> s) {
  writeOpen([&] { charOut->write(s); });
}

void PrintStream::writeText(VMPtr<Chars> s) {
  writeOpen([&] { charOut->write(s); });
}

void PrintStream::newLine() {
  writeOpen([&] { charOut->write(10); });
}

void PrintStream::print(const char* s) {
  writeOpen([&] {
    for (const char* p = s != nullptr ? s : "null"; *p != 0; ++p) write(static_cast<int32_t>(static_cast<uint8_t>(*p)));
  });
}

void PrintStream::print(VMPtr<String> s) {
  if (!s) s = _VM_intern("null");
  writeText(s);
}

void PrintStream::print(VMPtr<java::lang::Object> obj) { writeText(String::valueOf(obj)); }
void PrintStream::print(VMPtr<Chars> s) { writeText(s); }
void PrintStream::print(double d) { writeText(String::valueOf(d)); }
void PrintStream::print(float f) { writeText(String::valueOf(f)); }
void PrintStream::print(int64_t l) { writeText(String::valueOf(l)); }
void PrintStream::print(int32_t i) { writeText(String::valueOf(i)); }
void PrintStream::print(char16_t c) { writeText(String::valueOf(c)); }
void PrintStream::print(uint8_t b) { writeText(String::valueOf(b)); }

// Each line: the value through its own print slot, then the line feed, both
// under the stream's monitor.
void PrintStream::println(const char* s) { printLine(s); }
void PrintStream::println(VMPtr<java::lang::Object> obj) { printLine(obj); }
void PrintStream::println(VMPtr<String> s) { printLine(s); }
void PrintStream::println(VMPtr<Chars> s) { printLine(s); }
void PrintStream::println(double d) { printLine(d); }
void PrintStream::println(float f) { printLine(f); }
void PrintStream::println(int64_t l) { printLine(l); }
void PrintStream::println(int32_t i) { printLine(i); }
void PrintStream::println(char16_t c) { printLine(c); }
void PrintStream::println(uint8_t b) { printLine(b); }
void PrintStream::println() { newLine(); }

void PrintStream::_VM_markReferences(int colour) {
  _VM_markFields(colour, charOut, out);
  OutputStream::_VM_markReferences(colour);
}

}  // namespace java::io
