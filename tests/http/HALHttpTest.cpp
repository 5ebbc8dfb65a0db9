// The platform client without a server: the reply header parser as a
// table, and the statuses of bad handles and arguments.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HALHttp.h"
#include "HALHttpHeaders.h"
#include "HALString.h"

namespace {

std::string show(const std::optional<std::u16string>& s) {
  return s ? std::string(s->begin(), s->end()) : "<none>";
}

TEST(HALHttpHeaders, ParserTable) {
  struct Case {
    const char* raw;
    std::vector<std::string> records;  // "key=value" per record
  };
  const Case cases[] = {
      {"HTTP/1.1 200 OK\r\nA: 1\r\nB: 2\r\n", {"<none>=HTTP/1.1 200 OK", "A=1", "B=2"}},
      {"HTTP/1.1 200 OK\r\nTight:value\r\nEmpty:\r\nSpaced: \t v w \t\r\n",
       {"<none>=HTTP/1.1 200 OK", "Tight=value", "Empty=", "Spaced=v w"}},
      {"HTTP/1.0 404 Not Found\nBare: lf\nLast: unended",
       {"<none>=HTTP/1.0 404 Not Found", "Bare=lf", "Last=unended"}},
      {"HTTP/1.1 200 OK\r\nno colon here\r\nK: a:b\r\n\r\nAfter: blank\r\n",
       {"<none>=HTTP/1.1 200 OK", "<none>=no colon here", "K=a:b"}},
      {"", {}},
      {"\r\nA: 1\r\n", {}},
      {"S\r\n\xe9t\xe9: caf\xe9\r\n", {"<none>=S", "\xe9t\xe9=caf\xe9"}},
      // The first line is the status line, whatever it holds.
      {"HTTP/1.1 503 Service Unavailable: maintenance\r\nRetry-After: 60\r\n",
       {"<none>=HTTP/1.1 503 Service Unavailable: maintenance", "Retry-After=60"}},
      {"HTTP/1.1 200 a: b\nK: v", {"<none>=HTTP/1.1 200 a: b", "K=v"}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.raw);
    std::vector<std::string> got;
    for (const HALHttpHeader& h : HAL_parseHTTPHeaders(k.raw)) {
      std::string key;
      for (char16_t c : h.key.value_or(u"<none>")) key += static_cast<char>(c);
      std::string value;
      for (char16_t c : h.value.value_or(u"<none>")) value += static_cast<char>(c);
      got.push_back(key + "=" + value);
    }
    EXPECT_EQ(got, k.records);
  }
  const auto headers = HAL_parseHTTPHeaders("HTTP/1.1 200 OK\r\nDate: x\r\ndate: y\r\n");
  EXPECT_EQ(HAL_findHTTPHeader(headers, u"DATE"), 1);
  EXPECT_EQ(HAL_findHTTPHeader(headers, u"Dat"), -1);
  EXPECT_EQ(show(headers[2].value), "y");
}

TEST(HALHttp, BadHandlesAndArguments) {
  HALString* s = nullptr;
  int32_t n = 0;
  int64_t length = 0;
  uint8_t buffer[8];
  for (int32_t handle : {0, -1, 12345}) {
    SCOPED_TRACE(handle);
    EXPECT_EQ(HAL_getHTTPConnectionURL(handle, &s), HAL_ILLEGAL_ARGUMENT_ERR);
    EXPECT_EQ(HAL_getHTTPResponseCode(handle, &n), HAL_ILLEGAL_ARGUMENT_ERR);
    EXPECT_EQ(HAL_getHTTPLength(handle, &length), HAL_ILLEGAL_ARGUMENT_ERR);
    EXPECT_EQ(HAL_readHTTPConnection(handle, buffer, 8, &n), HAL_ILLEGAL_ARGUMENT_ERR);
    EXPECT_EQ(HAL_writeHTTPConnection(handle, buffer, 1), HAL_ILLEGAL_ARGUMENT_ERR);
    EXPECT_EQ(HAL_closeHTTPConnection(handle), HAL_ILLEGAL_ARGUMENT_ERR);
    EXPECT_EQ(HAL_destroyHTTPConnection(handle), HAL_ILLEGAL_ARGUMENT_ERR);
  }
  EXPECT_EQ(HAL_createHTTPConnection(nullptr, u"http://x/", 9), HAL_ILLEGAL_ARGUMENT_ERR);
  int32_t handle = 0;
  ASSERT_EQ(HAL_createHTTPConnection(&handle, u"http://x/", 9), HAL_OK);
  ASSERT_GT(handle, 0);
  EXPECT_EQ(HAL_getHTTPConnectionURL(handle, nullptr), HAL_ILLEGAL_ARGUMENT_ERR);
  EXPECT_EQ(HAL_readHTTPConnection(handle, nullptr, 8, &n), HAL_ILLEGAL_ARGUMENT_ERR);
  EXPECT_EQ(HAL_readHTTPConnection(handle, buffer, 0, &n), HAL_ILLEGAL_ARGUMENT_ERR);
  EXPECT_EQ(HAL_writeHTTPConnection(handle, nullptr, 1), HAL_ILLEGAL_ARGUMENT_ERR);
  EXPECT_EQ(HAL_writeHTTPConnection(handle, nullptr, 0), HAL_OK);
  EXPECT_EQ(HAL_setHTTPRequestMethod(handle, nullptr, 3), HAL_ILLEGAL_ARGUMENT_ERR);
  EXPECT_EQ(HAL_getHTTPRequestProperty(handle, u"A", 1, &s), HAL_OK);
  EXPECT_EQ(s, nullptr);  // absent: none, status 0
  EXPECT_EQ(HAL_destroyHTTPConnection(handle), HAL_OK);
  EXPECT_EQ(HAL_destroyHTTPConnection(handle), HAL_ILLEGAL_ARGUMENT_ERR);
  int32_t next = 0;
  ASSERT_EQ(HAL_createHTTPConnection(&next, u"http://x/", 9), HAL_OK);
  EXPECT_NE(next, handle);  // ids are not handed out again at once
  HAL_destroyHTTPConnection(next);
}

}  // namespace
