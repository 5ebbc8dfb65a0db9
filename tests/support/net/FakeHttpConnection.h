#pragma once

// A scripted HttpConnection for the network session's tests and fuzz
// target, made by Connector for "fakehttp://" URLs (the protocol class
// "com.ravelstone.brume.midp.io.protocol.fakehttp.Protocol", registered
// only in the programs that link this file). Each connection takes the
// script as it is when it is opened and answers from it; the body stream
// hands the body out in pieces of the script's sizes and ends with it.

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "VMClassKit.h"
#include "com_ravelstone_brume_cldc_io_ConnectionBaseInterface.h"
#include "java_io_InputStream.h"
#include "javax_microedition_io_HttpConnection.h"

namespace net_test {

struct FakeHttpScript {
  int32_t responseCode = 200;
  bool responseCodeThrows = false;
  std::optional<std::string> encoding;
  // Reply header fields in order; lookups by name ignore letter case.
  std::vector<std::pair<std::string, std::string>> headers;
  // Header lookups (by name, index or key) throw IOException.
  bool lookupsThrow = false;
  int64_t length = -1;
  std::string body;
  // Sizes of the pieces reads hand out, used in turn (at least 1 each);
  // empty: everything asked for.
  std::vector<int32_t> pieces;
  // What available() answers; negative: the rest of the current piece.
  int32_t available = -1;
  // Reads past this many bytes throw IOException; negative: never.
  int32_t failAt = -1;

  static FakeHttpScript& current();
};

// What the last connection was asked.
struct FakeHttpLog {
  std::string url;
  int32_t mode = 0;
  std::string method;
  std::vector<std::pair<std::string, std::string>> requestProperties;
  std::string sent;
  int32_t closes = 0;

  static FakeHttpLog& last();
};

class FakeBodyStream : public java::io::InputStream {
  VM_CLASS(FakeBodyStream, java::io::InputStream)

 public:
  VMPtr<FakeBodyStream> _VM_init(const FakeHttpScript& script);
  using InputStream::read;
  int32_t read(VMPtr<Bytes> b, int32_t off, int32_t len) override;
  int32_t read() override;
  int32_t available() override;

  FakeHttpScript script;
  size_t position = 0;
  size_t piece = 0;

 private:
  int32_t pieceLeft() const;
};

class FakeHttpConnection : public virtual java::lang::Object,
                           public virtual com::ravelstone::brume::cldc::io::ConnectionBaseInterface,
                           public virtual javax::microedition::io::HttpConnection {
  VM_CLASS(FakeHttpConnection, java::lang::Object)

 public:
  using String = java::lang::String;
  template <class T>
  using P = VMPtr<T>;

  P<FakeHttpConnection> _VM_init();
  P<javax::microedition::io::Connection> openPrim(P<String> name, int32_t mode, uint8_t timeouts) override;
  void close() override;
  P<java::io::InputStream> openInputStream() override;
  P<java::io::DataInputStream> openDataInputStream() override;
  P<java::io::OutputStream> openOutputStream() override;
  P<java::io::DataOutputStream> openDataOutputStream() override;
  P<String> getType() override { return nullptr; }
  P<String> getEncoding() override;
  int64_t getLength() override { return script.length; }
  P<String> getURL() override { return nullptr; }
  P<String> getProtocol() override { return nullptr; }
  P<String> getHost() override { return nullptr; }
  P<String> getFile() override { return nullptr; }
  P<String> getRef() override { return nullptr; }
  P<String> getQuery() override { return nullptr; }
  int32_t getPort() override { return 0; }
  P<String> getRequestMethod() override { return nullptr; }
  void setRequestMethod(P<String> method) override;
  P<String> getRequestProperty(P<String> key) override { return nullptr; }
  void setRequestProperty(P<String> key, P<String> value) override;
  int32_t getResponseCode() override;
  P<String> getResponseMessage() override { return nullptr; }
  int64_t getExpiration() override { return 0; }
  int64_t getDate() override { return 0; }
  int64_t getLastModified() override { return 0; }
  P<String> getHeaderField(int32_t n) override;
  P<String> getHeaderField(P<String> name) override;
  int32_t getHeaderFieldInt(P<String> name, int32_t def) override;
  int64_t getHeaderFieldDate(P<String> name, int64_t def) override { return def; }
  P<String> getHeaderFieldKey(int32_t n) override;

  FakeHttpScript script;

 private:
  void checkLookup();
  // The index of the first field named `name` (any letter case), or -1.
  int32_t find(const std::string& name);
};

// ASCII text of a Java string ("" for null) and back.
std::string ascii(const VMPtr<java::lang::String>& s);
VMPtr<java::lang::String> jstring(const std::string& s);

}  // namespace net_test
