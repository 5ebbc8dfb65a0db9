#pragma once

#include <cstdint>

#include "VMSynchronized.h"
#include "java_io_IOException.h"
#include "java_io_OutputStream.h"
#include "java_io_OutputStreamWriter.h"

namespace java::io {

// Text output that never throws IOException: a failure of the writer or the
// stream sets the error flag that checkError() reports. Text goes through a
// UTF-8 OutputStreamWriter; the line separator is the one character U+000A.
// Nothing here flushes. Every operation on a closed stream, but close() and
// checkError(), throws NullPointerException (no message).
class PrintStream : public OutputStream {
  VM_CLASS(PrintStream, OutputStream)

 public:
  using Chars = VMArray<char16_t>;

  // PrintStream(OutputStream out): NullPointerException for null.
  VMPtr<PrintStream> _VM_init(VMPtr<OutputStream> out);

  using OutputStream::write;
  // Synchronized; the bytes go to the stream unchanged.
  void write(VMPtr<Bytes> buf, int32_t off, int32_t len) override;
  void write(int32_t b) override;
  void flush() override;
  void close() override;
  // Flushes (when open) and returns the error flag.
  virtual uint8_t checkError();

  // The bytes of zero-terminated text, each through write(int), unchanged
  // (a null pointer prints "null").
  virtual void print(const char* s);
  // String.valueOf(obj): "null" for null.
  virtual void print(VMPtr<java::lang::Object> obj);
  virtual void print(VMPtr<java::lang::String> s);
  virtual void print(VMPtr<Chars> s);
  virtual void print(double d);
  virtual void print(float f);
  virtual void print(int64_t l);
  virtual void print(int32_t i);
  virtual void print(char16_t c);
  // Java boolean: "true" or "false".
  virtual void print(uint8_t b);
  // Each println holds the stream's monitor across the value and the line
  // feed, so lines of different threads never interleave.
  virtual void println(const char* s);
  virtual void println(VMPtr<java::lang::Object> obj);
  virtual void println(VMPtr<java::lang::String> s);
  virtual void println(VMPtr<Chars> s);
  virtual void println(double d);
  virtual void println(float f);
  virtual void println(int64_t l);
  virtual void println(int32_t i);
  virtual void println(char16_t c);
  virtual void println(uint8_t b);
  virtual void println();
  virtual void setError();

  // A C++ bool or char would silently pick the boolean or int overload.
  void print(bool) = delete;
  void print(char) = delete;
  void println(bool) = delete;
  void println(char) = delete;

  void _VM_markReferences(int colour) override;

  uint8_t trouble;
  uint8_t closed;
  VMField<OutputStreamWriter> charOut;  // null once closed
  VMField<OutputStream> out;            // null once closed

 private:
  // NullPointerException once closed.
  void ensureOpen();
  // Runs `write` under the stream's monitor on an open stream; an
  // IOException sets the error flag instead of leaving the stream.
  template <class F>
  void writeOpen(F write) {
    VMSynchronized guard(this);
    ensureOpen();
    try {
      write();
    } catch (IOException*) {
      trouble = 1;
    }
  }
  // Synchronized text output through the writer; an IOException sets the
  // error flag.
  void writeText(VMPtr<java::lang::String> s);
  void writeText(VMPtr<Chars> s);
  void newLine();
  // print(value) and the line end, under the stream's monitor.
  template <class T>
  void printLine(T value) {
    VMSynchronized guard(this);
    print(value);
    newLine();
  }
};

}  // namespace java::io
