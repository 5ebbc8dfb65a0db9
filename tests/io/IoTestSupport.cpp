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

VMPtr<java::lang::String> jstr(const std::u16string& text) {
  return java::lang::String::_VM_fromUTF16(text.data(), static_cast<int32_t>(text.size()));
}

VMPtr<java::lang::String> jstr(const char* ascii) { return java::lang::String::_VM_fromUTF8(ascii); }

std::u16string text(const VMPtr<java::lang::String>& s) {
  if (s->count == 0) return {};
  return std::u16string(s->_VM_chars(), static_cast<size_t>(s->count));
}

std::string show(const std::u16string& s) {
  std::string out;
  for (char16_t c : s) {
    if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else {
      char buffer[8];
      std::snprintf(buffer, sizeof buffer, "\\u%04x", static_cast<unsigned>(c));
      out += buffer;
    }
  }
  return out;
}

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

std::string messageOf(java::lang::Throwable* t) {
  VMPtr<java::lang::Throwable> e(t);
  VMPtr<java::lang::String> m = e->getMessage();
  return m ? show(text(m)) : "<null>";
}

std::vector<Row> readTable(const std::string& name) {
  std::ifstream in(std::string(JME_TEST_DATA_DIR) + "/" + name);
  EXPECT_TRUE(in.good()) << "cannot read " << name;
  std::vector<Row> rows;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    Row row;
    std::string field;
    while (fields >> field) row.push_back(field);
    rows.push_back(std::move(row));
  }
  EXPECT_FALSE(rows.empty()) << name << " has no cases";
  return rows;
}

std::string showRow(const Row& row) {
  std::string out;
  for (const std::string& f : row) out += (out.empty() ? "" : " ") + f;
  return out;
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
