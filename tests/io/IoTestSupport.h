#pragma once

// Helpers of the io tests: the shared conversions and exception checks of
// JavaTestSupport.h, Java text and byte arrays from C++ values, the reader
// of the Java reference tables in tests/io/data (written by
// tools/javagen/generate-io.sh), and two scripted streams.

#include <cstdint>
#include <string>
#include <vector>

#include "JavaTestSupport.h"
#include "VMArray.h"
#include "java_io_InputStream.h"
#include "java_io_OutputStream.h"
#include "java_lang_String.h"

namespace io_test {

using java_test::jstr;
using java_test::messageOf;
using java_test::show;
using java_test::showRow;
using java_test::text;
using java_test::thrownMessage;

using Bytes = VMArray<int8_t>;
using Chars = VMArray<char16_t>;

VMPtr<java::lang::String> jstr(const char* ascii);
// ASCII as is, every other unit as \uXXXX; "<null>" for null.
std::string show(const VMPtr<java::lang::String>& s);

VMPtr<Bytes> bytes(const std::vector<uint8_t>& values);
std::vector<uint8_t> values(const VMPtr<Bytes>& array, int32_t from = 0, int32_t count = -1);
// "c3a90a" <-> bytes; "-" is no bytes.
std::vector<uint8_t> fromHex(const std::string& hex);
std::string toHex(const std::vector<uint8_t>& bytes);

// The lines of tests/io/data/<name> split at blanks, comments skipped.
using Row = std::vector<std::string>;
std::vector<Row> readTable(const std::string& name);

// Standard output redirected to a temporary file while it lives: what the
// console wrote, and what reached the file before any flush of ours.
class StdoutCapture {
 public:
  StdoutCapture();
  ~StdoutCapture();
  // The bytes that have reached the file so far (standard output is not
  // flushed for this).
  std::vector<uint8_t> written() const;

 private:
  int saved_;
  std::string path_;
};

}  // namespace io_test

namespace test::io {

// A byte sink that records every byte and the length of every array write,
// and can be told to fail.
class RecordingOutputStream : public java::io::OutputStream {
  VM_CLASS(RecordingOutputStream, java::io::OutputStream)

 public:
  VMPtr<RecordingOutputStream> _VM_init();
  using java::io::OutputStream::write;
  void write(int32_t b) override;
  void write(VMPtr<Bytes> b, int32_t off, int32_t len) override;
  void flush() override;
  void close() override;

  std::vector<uint8_t> data;
  std::vector<int32_t> arrayWrites;  // len of each write(b, off, len)
  int32_t flushes = 0;
  int32_t closes = 0;
  bool failing = false;  // every write, flush and close throws IOException
};

// A byte source over fixed bytes. The read() call number `failAt` (from 0)
// throws IOException; skip() can be made to return 0 at once.
class ScriptedInputStream : public java::io::InputStream {
  VM_CLASS(ScriptedInputStream, java::io::InputStream)

 public:
  VMPtr<ScriptedInputStream> _VM_init(std::vector<uint8_t> content);
  using java::io::InputStream::read;
  int32_t read() override;
  int64_t skip(int64_t n) override;

  std::vector<uint8_t> content;
  size_t next = 0;
  int32_t reads = 0;
  int32_t failAt = -1;
  bool skipNothing = false;
};

}  // namespace test::io
