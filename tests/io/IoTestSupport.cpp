#include "IoTestSupport.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "VMThrow.h"
#include "java_io_IOException.h"

VM_REGISTER_CLASS(test::io::RecordingOutputStream, "test.io.RecordingOutputStream", "java.io.OutputStream", 0);
VM_REGISTER_CLASS(test::io::ScriptedInputStream, "test.io.ScriptedInputStream", "java.io.InputStream", 0);

namespace io_test {

VMPtr<java::lang::String> jstr(const char* ascii) { return java::lang::String::_VM_fromUTF8(ascii); }

std::string show(const VMPtr<java::lang::String>& s) { return s ? show(text(s)) : "<null>"; }

VMPtr<Bytes> bytes(const std::vector<uint8_t>& values) {
  VMPtr<Bytes> array = Bytes::create(static_cast<int32_t>(values.size()));
  for (size_t i = 0; i < values.size(); ++i) array->elements()[i] = static_cast<int8_t>(values[i]);
  return array;
}

std::vector<uint8_t> values(const VMPtr<Bytes>& array, int32_t from, int32_t count) {
  if (count < 0) count = array->length - from;
  const auto* data = reinterpret_cast<const uint8_t*>(array->elements());
  return std::vector<uint8_t>(data + from, data + from + count);
}

std::vector<uint8_t> fromHex(const std::string& hex) {
  std::vector<uint8_t> out;
  if (hex == "-") return out;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) out.push_back(static_cast<uint8_t>(std::stoul(hex.substr(i, 2), nullptr, 16)));
  return out;
}

std::string toHex(const std::vector<uint8_t>& bytes) {
  if (bytes.empty()) return "-";
  std::string out;
  char buffer[4];
  for (uint8_t b : bytes) {
    std::snprintf(buffer, sizeof buffer, "%02x", b);
    out += buffer;
  }
  return out;
}

std::vector<Row> readTable(const std::string& name) {
  std::vector<Row> rows;
  for (const std::string& line : java_test::readDataLines(name)) {
    std::istringstream fields(line);
    Row row;
    std::string field;
    while (fields >> field) row.push_back(field);
    rows.push_back(std::move(row));
  }
  return rows;
}

StdoutCapture::StdoutCapture() {
  std::fflush(stdout);
  char name[] = "/tmp/jme-stdout-XXXXXX";
  const int fd = mkstemp(name);
  path_ = name;
  saved_ = dup(STDOUT_FILENO);
  dup2(fd, STDOUT_FILENO);
  close(fd);
}

StdoutCapture::~StdoutCapture() {
  std::fflush(stdout);
  dup2(saved_, STDOUT_FILENO);
  close(saved_);
  unlink(path_.c_str());
}

std::vector<uint8_t> StdoutCapture::written() const {
  std::ifstream in(path_, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace io_test

namespace test::io {

VMPtr<RecordingOutputStream> RecordingOutputStream::_VM_init() {
  OutputStream::_VM_init();
  return VMPtr<RecordingOutputStream>(this);
}

void RecordingOutputStream::write(int32_t b) {
  if (failing) _VM_throwNew<java::io::IOException>("recording stream fails");
  data.push_back(static_cast<uint8_t>(b));
}

void RecordingOutputStream::write(VMPtr<Bytes> b, int32_t off, int32_t len) {
  if (failing) _VM_throwNew<java::io::IOException>("recording stream fails");
  arrayWrites.push_back(len);
  const std::vector<uint8_t> part = io_test::values(b, off, len);
  data.insert(data.end(), part.begin(), part.end());
}

void RecordingOutputStream::flush() {
  if (failing) _VM_throwNew<java::io::IOException>("recording stream fails");
  ++flushes;
}

void RecordingOutputStream::close() {
  if (failing) _VM_throwNew<java::io::IOException>("recording stream fails");
  ++closes;
}

VMPtr<ScriptedInputStream> ScriptedInputStream::_VM_init(std::vector<uint8_t> content) {
  InputStream::_VM_init();
  this->content = std::move(content);
  return VMPtr<ScriptedInputStream>(this);
}

int32_t ScriptedInputStream::read() {
  if (reads++ == failAt) _VM_throwNew<java::io::IOException>("scripted failure");
  if (next >= content.size()) return -1;
  return content[next++];
}

int64_t ScriptedInputStream::skip(int64_t n) {
  if (skipNothing) return 0;
  return InputStream::skip(n);
}

}  // namespace test::io
