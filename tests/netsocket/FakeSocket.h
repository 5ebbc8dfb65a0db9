#pragma once

// A socket connection for the socket session's tests: Connector makes it
// for "socket://" URLs through the protocol class
// "com.ravelstone.brume.midp.io.protocol.socket.Protocol", registered in
// this test program only (the platform itself has no socket protocol).
// Its input is a pipe the test fills and ends; its output logs every call.

#include <cstdint>
#include <string>
#include <vector>

#include "VMClassKit.h"
#include "com_ravelstone_brume_cldc_io_ConnectionBaseInterface.h"
#include "java_io_InputStream.h"
#include "java_io_OutputStream.h"
#include "javax_microedition_io_SocketConnection.h"

namespace net_test {

// Reads block (waiting on the pipe's monitor, so the global lock is free)
// until bytes come, the pipe ends (-1) or it is closed (IOException).
class FakePipe : public java::io::InputStream {
  VM_CLASS(FakePipe, java::io::InputStream)

 public:
  VMPtr<FakePipe> _VM_init(const std::string& initial);
  using InputStream::read;
  int32_t read(VMPtr<Bytes> b, int32_t off, int32_t len) override;
  int32_t read() override;
  int32_t available() override;
  void close() override;
  void push(const std::string& bytes);
  void end();

  std::string pending;
  bool ended = false;
  bool closed = false;
};

// Logs "write:<bytes>", "flush" and "close".
class FakeSink : public java::io::OutputStream {
  VM_CLASS(FakeSink, java::io::OutputStream)

 public:
  VMPtr<FakeSink> _VM_init();
  using OutputStream::write;
  void write(VMPtr<Bytes> b, int32_t off, int32_t len) override;
  void write(int32_t b) override;
  void flush() override;
  void close() override;

  std::vector<std::string> log;
};

class FakeSocket : public virtual java::lang::Object,
                   public virtual com::ravelstone::brume::cldc::io::ConnectionBaseInterface,
                   public virtual javax::microedition::io::SocketConnection {
  VM_CLASS(FakeSocket, java::lang::Object)

 public:
  VMPtr<FakeSocket> _VM_init();
  VMPtr<javax::microedition::io::Connection> openPrim(VMPtr<java::lang::String> name, int32_t mode,
                                                      uint8_t timeouts) override;
  void close() override { ++closes; }
  VMPtr<java::io::InputStream> openInputStream() override;
  VMPtr<java::io::DataInputStream> openDataInputStream() override;
  VMPtr<java::io::OutputStream> openOutputStream() override;
  VMPtr<java::io::DataOutputStream> openDataOutputStream() override;
  void _VM_markReferences(int colour) override;

  std::string url;
  int32_t closes = 0;
  VMField<FakePipe> pipe;
  VMField<FakeSink> sink;

  // What the next connection's pipe starts with.
  static std::string initialBytes;
  // The connection opened last.
  static VMStatic<FakeSocket> last;
};

}  // namespace net_test
