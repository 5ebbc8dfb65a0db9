#include "FakeHttpConnection.h"

#include <strings.h>

#include <algorithm>
#include <cstring>

#include "VMJava.h"
#include "VMThrow.h"
#include "java_io_DataInputStream.h"
#include "java_io_DataOutputStream.h"
#include "java_io_IOException.h"
#include "java_io_OutputStream.h"
#include "java_lang_Integer.h"
#include "java_lang_NumberFormatException.h"

namespace net_test {

// Records what the session writes as the request body.
class FakeSentStream : public java::io::OutputStream {
  VM_CLASS(FakeSentStream, java::io::OutputStream)

 public:
  VMPtr<FakeSentStream> _VM_init() {
    Base::_VM_init();
    return VMPtr<FakeSentStream>(this);
  }
  using OutputStream::write;
  void write(int32_t b) override { FakeHttpLog::last().sent += static_cast<char>(b); }
};

}  // namespace net_test

VM_REGISTER_CLASS(net_test::FakeSentStream, "net_test.FakeSentStream", "java.io.OutputStream", 0);
VM_REGISTER_CLASS(net_test::FakeBodyStream, "net_test.FakeBodyStream", "java.io.InputStream", 0);
VM_REGISTER_CLASS(net_test::FakeHttpConnection, "com.ravelstone.brume.midp.io.protocol.fakehttp.Protocol",
                  "java.lang.Object", VM_INSTANTIABLE);
VM_IMPLEMENTS(net_test::FakeHttpConnection, "com.ravelstone.brume.cldc.io.ConnectionBaseInterface");
VM_IMPLEMENTS(net_test::FakeHttpConnection, "javax.microedition.io.HttpConnection");

namespace net_test {

using java::lang::String;

FakeHttpScript& FakeHttpScript::current() {
  static FakeHttpScript script;
  return script;
}

FakeHttpLog& FakeHttpLog::last() {
  static FakeHttpLog log;
  return log;
}

std::string ascii(const VMPtr<String>& s) {
  std::string out;
  for (int32_t i = 0; s && i < s->length(); ++i) out += static_cast<char>(s->charAt(i));
  return out;
}

VMPtr<String> jstring(const std::string& s) {
  std::u16string wide(s.begin(), s.end());
  for (size_t i = 0; i < s.size(); ++i) wide[i] = static_cast<unsigned char>(s[i]);
  return String::_VM_fromUTF16(wide.data(), static_cast<int32_t>(wide.size()));
}

VMPtr<FakeBodyStream> FakeBodyStream::_VM_init(const FakeHttpScript& s) {
  Base::_VM_init();
  script = s;
  return VMPtr<FakeBodyStream>(this);
}

int32_t FakeBodyStream::pieceLeft() const {
  const size_t left = script.body.size() - position;
  if (script.pieces.empty()) return static_cast<int32_t>(std::min<size_t>(left, 1 << 30));
  const int32_t size = std::max(1, script.pieces[piece % script.pieces.size()]);
  return static_cast<int32_t>(std::min<size_t>(left, static_cast<size_t>(size)));
}

int32_t FakeBodyStream::read(VMPtr<Bytes> b, int32_t off, int32_t len) {
  _VM_checkRange(b, off, len);
  if (len == 0) return 0;
  if (position >= script.body.size()) return -1;
  if (script.failAt >= 0 && position >= static_cast<size_t>(script.failAt)) {
    _VM_throwNew<java::io::IOException>("HttpConnection error: 7");
  }
  const int32_t n = std::min(len, pieceLeft());
  std::memcpy(b->elements() + off, script.body.data() + position, static_cast<size_t>(n));
  position += static_cast<size_t>(n);
  ++piece;
  return n;
}

int32_t FakeBodyStream::read() {
  VMPtr<Bytes> one = Bytes::create(1);
  return read(one, 0, 1) < 0 ? -1 : one->at(0) & 0xFF;
}

int32_t FakeBodyStream::available() {
  if (script.available >= 0) return script.available;
  return position >= script.body.size() ? 0 : pieceLeft();
}

VMPtr<FakeHttpConnection> FakeHttpConnection::_VM_init() {
  Object::_VM_init();
  return VMPtr<FakeHttpConnection>(this);
}

VMPtr<javax::microedition::io::Connection> FakeHttpConnection::openPrim(VMPtr<String> name, int32_t mode,
                                                                          uint8_t timeouts) {
  script = FakeHttpScript::current();
  FakeHttpLog::last() = FakeHttpLog{ascii(name), mode, {}, {}, {}, 0};
  return VMPtr<javax::microedition::io::Connection>(this);
}

void FakeHttpConnection::close() { ++FakeHttpLog::last().closes; }

VMPtr<java::io::InputStream> FakeHttpConnection::openInputStream() {
  VMPtr<FakeBodyStream> in = FakeBodyStream::_VM_new();
  in->_VM_init(script);
  return in;
}

VMPtr<java::io::DataInputStream> FakeHttpConnection::openDataInputStream() {
  VMPtr<java::io::DataInputStream> in = java::io::DataInputStream::_VM_new();
  in->_VM_init(openInputStream());
  return in;
}

VMPtr<java::io::OutputStream> FakeHttpConnection::openOutputStream() {
  VMPtr<FakeSentStream> out = FakeSentStream::_VM_new();
  out->_VM_init();
  return out;
}

VMPtr<java::io::DataOutputStream> FakeHttpConnection::openDataOutputStream() {
  VMPtr<java::io::DataOutputStream> out = java::io::DataOutputStream::_VM_new();
  out->_VM_init(openOutputStream());
  return out;
}

VMPtr<String> FakeHttpConnection::getEncoding() {
  return script.encoding ? jstring(*script.encoding) : VMPtr<String>();
}

void FakeHttpConnection::setRequestMethod(VMPtr<String> method) { FakeHttpLog::last().method = ascii(method); }

void FakeHttpConnection::setRequestProperty(VMPtr<String> key, VMPtr<String> value) {
  FakeHttpLog::last().requestProperties.emplace_back(ascii(key), ascii(value));
}

int32_t FakeHttpConnection::getResponseCode() {
  if (script.responseCodeThrows) _VM_throwNew<java::io::IOException>("HttpConnection error: the connection is closed");
  return script.responseCode;
}

void FakeHttpConnection::checkLookup() {
  if (script.lookupsThrow) _VM_throwNew<java::io::IOException>("HttpConnection error: 7");
}

int32_t FakeHttpConnection::find(const std::string& name) {
  for (size_t i = 0; i < script.headers.size(); ++i) {
    if (strcasecmp(script.headers[i].first.c_str(), name.c_str()) == 0) return static_cast<int32_t>(i);
  }
  return -1;
}

VMPtr<String> FakeHttpConnection::getHeaderField(int32_t n) {
  checkLookup();
  if (n < 0 || static_cast<size_t>(n) >= script.headers.size()) return nullptr;
  return jstring(script.headers[static_cast<size_t>(n)].second);
}

VMPtr<String> FakeHttpConnection::getHeaderField(VMPtr<String> name) {
  checkLookup();
  const int32_t i = find(ascii(name));
  return i < 0 ? VMPtr<String>() : jstring(script.headers[static_cast<size_t>(i)].second);
}

int32_t FakeHttpConnection::getHeaderFieldInt(VMPtr<String> name, int32_t def) {
  VMPtr<String> value = getHeaderField(name);
  if (!value) return def;
  try {
    return java::lang::Integer::parseInt(value);
  } catch (java::lang::NumberFormatException* e) {
    VMPtr<java::lang::NumberFormatException> ignored(e);
    return def;
  }
}

VMPtr<String> FakeHttpConnection::getHeaderFieldKey(int32_t n) {
  checkLookup();
  if (n < 0 || static_cast<size_t>(n) >= script.headers.size()) return nullptr;
  return jstring(script.headers[static_cast<size_t>(n)].first);
}

}  // namespace net_test
