#include "FakeSocket.h"

#include <algorithm>
#include <cstring>

#include "FakeHttpConnection.h"
#include "VMSynchronized.h"
#include "VMThrow.h"
#include "java_io_DataInputStream.h"
#include "java_io_DataOutputStream.h"
#include "java_io_IOException.h"

VM_REGISTER_CLASS(net_test::FakePipe, "net_test.FakePipe", "java.io.InputStream", 0);
VM_REGISTER_CLASS(net_test::FakeSink, "net_test.FakeSink", "java.io.OutputStream", 0);
VM_REGISTER_CLASS(net_test::FakeSocket, "com.ravelstone.brume.midp.io.protocol.socket.Protocol", "java.lang.Object",
                  VM_INSTANTIABLE);
VM_IMPLEMENTS(net_test::FakeSocket, "com.ravelstone.brume.cldc.io.ConnectionBaseInterface");
VM_IMPLEMENTS(net_test::FakeSocket, "javax.microedition.io.SocketConnection");

namespace net_test {

std::string FakeSocket::initialBytes;
VMStatic<FakeSocket> FakeSocket::last;

VMPtr<FakePipe> FakePipe::_VM_init(const std::string& initial) {
  Base::_VM_init();
  pending = initial;
  return VMPtr<FakePipe>(this);
}

int32_t FakePipe::read(VMPtr<Bytes> b, int32_t off, int32_t len) {
  _VM_checkRange(b, off, len);
  VMSynchronized lock(this);
  while (pending.empty() && !ended && !closed) wait(50);
  if (closed) _VM_throwNew<java::io::IOException>("closed");
  if (pending.empty()) return -1;
  const int32_t n = std::min(len, static_cast<int32_t>(pending.size()));
  std::memcpy(b->elements() + off, pending.data(), static_cast<size_t>(n));
  pending.erase(0, static_cast<size_t>(n));
  return n;
}

int32_t FakePipe::read() {
  VMPtr<Bytes> one = Bytes::create(1);
  return read(one, 0, 1) < 0 ? -1 : one->at(0) & 0xFF;
}

int32_t FakePipe::available() {
  VMSynchronized lock(this);
  return static_cast<int32_t>(pending.size());
}

void FakePipe::close() {
  VMSynchronized lock(this);
  closed = true;
  notifyAll();
}

void FakePipe::push(const std::string& bytes) {
  VMSynchronized lock(this);
  pending += bytes;
  notifyAll();
}

void FakePipe::end() {
  VMSynchronized lock(this);
  ended = true;
  notifyAll();
}

VMPtr<FakeSink> FakeSink::_VM_init() {
  Base::_VM_init();
  return VMPtr<FakeSink>(this);
}

void FakeSink::write(VMPtr<Bytes> b, int32_t off, int32_t len) {
  java::io::InputStream::_VM_checkRange(b->length, off, len);
  log.push_back("write:" + std::string(reinterpret_cast<const char*>(b->elements()) + off, static_cast<size_t>(len)));
}

void FakeSink::write(int32_t b) { log.push_back("write:" + std::string(1, static_cast<char>(b))); }

void FakeSink::flush() { log.push_back("flush"); }

void FakeSink::close() { log.push_back("close"); }

VMPtr<FakeSocket> FakeSocket::_VM_init() {
  Object::_VM_init();
  return VMPtr<FakeSocket>(this);
}

VMPtr<javax::microedition::io::Connection> FakeSocket::openPrim(VMPtr<java::lang::String> name, int32_t mode,
                                                                  uint8_t timeouts) {
  url = ascii(name);
  VMPtr<FakePipe> in = FakePipe::_VM_new();
  in->_VM_init(initialBytes);
  pipe = in;
  VMPtr<FakeSink> out = FakeSink::_VM_new();
  out->_VM_init();
  sink = out;
  last = VMPtr<FakeSocket>(this);
  return VMPtr<javax::microedition::io::Connection>(this);
}

VMPtr<java::io::InputStream> FakeSocket::openInputStream() { return VMPtr<FakePipe>(pipe); }

VMPtr<java::io::DataInputStream> FakeSocket::openDataInputStream() {
  VMPtr<java::io::DataInputStream> in = java::io::DataInputStream::_VM_new();
  in->_VM_init(openInputStream());
  return in;
}

VMPtr<java::io::OutputStream> FakeSocket::openOutputStream() { return VMPtr<FakeSink>(sink); }

VMPtr<java::io::DataOutputStream> FakeSocket::openDataOutputStream() {
  VMPtr<java::io::DataOutputStream> out = java::io::DataOutputStream::_VM_new();
  out->_VM_init(openOutputStream());
  return out;
}

void FakeSocket::_VM_markReferences(int colour) {
  _VM_mark(pipe, colour);
  _VM_mark(sink, colour);
  Object::_VM_markReferences(colour);
}

}  // namespace net_test
