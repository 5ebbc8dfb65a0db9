#pragma once

#include <cstdint>

#include "VMClassKit.h"
#include "javax_microedition_io_ContentConnection.h"

namespace java::lang {
class String;
}

namespace javax::microedition::io {

// An HTTP request and its response. A connection starts in the setup state
// (method and request headers may be set), moves to the connected state
// when anything of the response is first asked for (the request is sent
// then) and ends closed.
class HttpConnection : public virtual ContentConnection {
  VM_INTERFACE_CLASS(HttpConnection)

 public:
  static VMStatic<java::lang::String> HEAD;
  static VMStatic<java::lang::String> GET;
  static VMStatic<java::lang::String> POST;
  static void _VM_clinit();

  virtual VMPtr<java::lang::String> getURL() = 0;
  virtual VMPtr<java::lang::String> getProtocol() = 0;
  virtual VMPtr<java::lang::String> getHost() = 0;
  virtual VMPtr<java::lang::String> getFile() = 0;
  virtual VMPtr<java::lang::String> getRef() = 0;
  virtual VMPtr<java::lang::String> getQuery() = 0;
  virtual int32_t getPort() = 0;
  virtual VMPtr<java::lang::String> getRequestMethod() = 0;
  virtual void setRequestMethod(VMPtr<java::lang::String> method) = 0;
  virtual VMPtr<java::lang::String> getRequestProperty(VMPtr<java::lang::String> key) = 0;
  virtual void setRequestProperty(VMPtr<java::lang::String> key, VMPtr<java::lang::String> value) = 0;
  virtual int32_t getResponseCode() = 0;
  virtual VMPtr<java::lang::String> getResponseMessage() = 0;
  virtual int64_t getExpiration() = 0;
  virtual int64_t getDate() = 0;
  virtual int64_t getLastModified() = 0;
  virtual VMPtr<java::lang::String> getHeaderField(int32_t n) = 0;
  virtual VMPtr<java::lang::String> getHeaderField(VMPtr<java::lang::String> name) = 0;
  virtual int32_t getHeaderFieldInt(VMPtr<java::lang::String> name, int32_t def) = 0;
  virtual int64_t getHeaderFieldDate(VMPtr<java::lang::String> name, int64_t def) = 0;
  virtual VMPtr<java::lang::String> getHeaderFieldKey(int32_t n) = 0;
};

}  // namespace javax::microedition::io
