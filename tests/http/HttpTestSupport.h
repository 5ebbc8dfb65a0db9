#pragma once

// Helpers of the HTTP tests: a VM with the device's network settings for
// the loopback server, connections opened through Connector, and whole
// reply bodies read through the connection's input stream.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "DeviceProfile.h"
#include "JavaTestSupport.h"
#include "LoopbackServer.h"
#include "VMJava.h"
#include "VMTestEnv.h"
#include "com_ravelstone_brume_midp_io_protocol_http_Protocol.h"
#include "java_io_InputStream.h"
#include "javax_microedition_io_Connector.h"
#include "javax_microedition_io_HttpConnection.h"

namespace http_test {

using Http = javax::microedition::io::HttpConnection;

class HttpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Requests to the loopback server never go through a proxy of the host.
    for (const char* name : {"http_proxy", "https_proxy", "HTTP_PROXY", "HTTPS_PROXY", "ALL_PROXY", "all_proxy"}) {
      unsetenv(name);
    }
    VMTestEnv::start();
    DeviceProfile::instance().setTrustedCertificates(LoopbackServer::certificateFile());
    DeviceProfile::instance().setNetworkTimeoutMillis(5000);
  }
};

inline VMPtr<Http> open(const std::string& url, int32_t mode = javax::microedition::io::Connector::READ_WRITE) {
  return _VM_cast<Http>(javax::microedition::io::Connector::open(java_test::jstr(java_test::u16(url)), mode, 1));
}

inline std::string ascii(const VMPtr<java::lang::String>& s) {
  return s ? java_test::show(java_test::text(s)) : "<null>";
}

// Every byte of the stream up to its end, read in reads of `chunk` bytes;
// each read must return at most 4096 bytes.
inline std::string readAll(const VMPtr<java::io::InputStream>& in, int32_t chunk = 8192) {
  std::string out;
  VMPtr<VMArray<int8_t>> buffer = VMArray<int8_t>::create(chunk);
  for (;;) {
    const int32_t n = in->read(buffer, 0, chunk);
    if (n < 0) break;
    EXPECT_LE(n, 4096);
    out.append(reinterpret_cast<const char*>(buffer->elements()), static_cast<size_t>(n));
  }
  return out;
}

}  // namespace http_test
