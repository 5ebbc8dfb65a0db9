#pragma once

#include <cstdint>

#include "HALStatus.h"
#include "VMArray.h"
#include "VMClassKit.h"
#include "com_ravelstone_brume_cldc_io_ConnectionBaseInterface.h"
#include "com_ravelstone_brume_midp_io_HttpInputStream.h"
#include "com_ravelstone_brume_midp_io_HttpOutputStream.h"
#include "java_lang_String.h"
#include "javax_microedition_io_HttpConnection.h"

class HALString;

namespace com::ravelstone::brume::midp::io::protocol::http {

// The HTTP connection: a state machine over one platform HTTP record (an
// id in the platform's table, HALHttp.h). States: 0 setup (method and
// request headers may change), 1 connected (entered by the first operation
// that needs the reply, just before the platform sends the request), 2
// closed (every operation but close throws IOException).
//
// Ownership: the platform record belongs to this object from openPrim to
// close; the destructor, run by the collector, destroys a record that is
// still there. Streams hold the id and keep their connection reachable
// (so a stream in use never loses its record to the collector); a stream
// that outlives its connection's close fails with IOException, since the
// id names no record any more.
//
// A connection is meant for one thread at a time; the platform releases
// the global lock around every network wait.
class Protocol : public virtual java::lang::Object,
                 public virtual com::ravelstone::brume::cldc::io::ConnectionBaseInterface,
                 public virtual javax::microedition::io::HttpConnection {
  VM_CLASS(Protocol, java::lang::Object)

 public:
  enum State : int32_t { kSetup = 0, kConnected = 1, kClosed = 2 };

  ~Protocol() override;
  VMPtr<Protocol> _VM_init();

  VMPtr<javax::microedition::io::Connection> openPrim(VMPtr<java::lang::String> name, int32_t mode,
                                                      uint8_t timeouts) override;
  void close() override;
  VMPtr<java::io::InputStream> openInputStream() override;
  VMPtr<java::io::DataInputStream> openDataInputStream() override;
  VMPtr<java::io::OutputStream> openOutputStream() override;
  VMPtr<java::io::DataOutputStream> openDataOutputStream() override;
  VMPtr<java::lang::String> getType() override;
  VMPtr<java::lang::String> getEncoding() override;
  int64_t getLength() override;
  VMPtr<java::lang::String> getURL() override;
  VMPtr<java::lang::String> getProtocol() override;
  VMPtr<java::lang::String> getHost() override;
  VMPtr<java::lang::String> getFile() override;
  VMPtr<java::lang::String> getRef() override;
  VMPtr<java::lang::String> getQuery() override;
  int32_t getPort() override;
  VMPtr<java::lang::String> getRequestMethod() override;
  void setRequestMethod(VMPtr<java::lang::String> method) override;
  VMPtr<java::lang::String> getRequestProperty(VMPtr<java::lang::String> key) override;
  void setRequestProperty(VMPtr<java::lang::String> key, VMPtr<java::lang::String> value) override;
  int32_t getResponseCode() override;
  VMPtr<java::lang::String> getResponseMessage() override;
  int64_t getExpiration() override;
  int64_t getDate() override;
  int64_t getLastModified() override;
  VMPtr<java::lang::String> getHeaderField(int32_t n) override;
  VMPtr<java::lang::String> getHeaderField(VMPtr<java::lang::String> name) override;
  int32_t getHeaderFieldInt(VMPtr<java::lang::String> name, int32_t def) override;
  int64_t getHeaderFieldDate(VMPtr<java::lang::String> name, int64_t def) override;
  VMPtr<java::lang::String> getHeaderFieldKey(int32_t n) override;

  // The lenient HTTP date reader: milliseconds since 1970-01-01 00:00 UTC
  // for the usual HTTP date forms (RFC 1123, RFC 850, asctime) and many
  // others; IllegalArgumentException "Error parsing date" for what it
  // cannot place, null included.
  static int64_t parseDate(VMPtr<java::lang::String> s);

  static void _VM_clinit();
  void _VM_markReferences(int colour) override;

  int32_t handle;
  int32_t state;
  VMField<HttpOutputStream> outputStream;
  VMField<HttpInputStream> inputStream;

  static VMStatic<java::lang::String> protocolName;
  // The date reader's words (lower case), searched from the last down.
  static VMStatic<VMArray<java::lang::String>> dateWords;
  static int32_t defaultCenturyStart;  // 0 until the first parseDate

 protected:
  // Throws IOException "HttpConnection error: the connection is closed"
  // in the closed state.
  void checkOpen();
  // checkOpen, then setup becomes connected.
  void connect();
  // A platform string result: status 7 throws IOException "HttpConnection
  // error: 7"; status 0 with a string gives it; otherwise null. The
  // string is released in every case. `s` is read after the call that
  // fills it (it is taken by reference).
  static VMPtr<java::lang::String> stringResult(HALStatus status, HALString*& s);
  // A reply header by name, or null.
  VMPtr<java::lang::String> headerField(const char* name);
  // A date header: its parsed value, 0 when absent or unreadable.
  int64_t dateHeader(const char* name);
};

}  // namespace com::ravelstone::brume::midp::io::protocol::http
