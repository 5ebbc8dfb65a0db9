#include "HALHttp.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "CeHttpTransfer.h"
#include "CeText.h"
#include "HALGlobalLock.h"
#include "HALHttpHeaders.h"
#include "HALProperties.h"
#include "HALShellHooks.h"
#include "HALString.h"

namespace {

constexpr int32_t kReadSize = 4096;

using RequestHeader = HALHttpHeader;

// One request and its reply. Worked on by one thread at a time, under
// `mutex` and with the global lock released; `transfer->cancel()` alone
// is called without it.
struct Record {
  std::mutex mutex;
  std::u16string url;
  std::optional<std::u16string> method;
  bool requestListMade = false;
  std::vector<RequestHeader> requestHeaders;
  std::vector<std::vector<uint8_t>> bodyChunks;
  bool sent = false;
  HALStatus sendStatus = HAL_OK;
  bool closed = false;
  bool responseListMade = false;
  std::vector<HALHttpHeader> responseHeaders;
  std::unique_ptr<CeHttpTransfer> transfer;
};

std::mutex& tableMutex() {
  static std::mutex m;
  return m;
}

std::map<int32_t, std::shared_ptr<Record>>& table() {
  static auto* records = new std::map<int32_t, std::shared_ptr<Record>>();
  return *records;
}

int32_t lastId = 0;

std::shared_ptr<Record> find(int32_t handle) {
  std::lock_guard<std::mutex> lock(tableMutex());
  auto it = table().find(handle);
  return it == table().end() ? nullptr : it->second;
}

// Runs `work(record)` with the global lock released and the record held.
template <class Work>
HALStatus withRecord(int32_t handle, Work work) {
  std::shared_ptr<Record> record = find(handle);
  if (!record) return HAL_ILLEGAL_ARGUMENT_ERR;
  const int levels = HAL_suspendGlobalLock();
  HALStatus status;
  try {
    std::lock_guard<std::mutex> hold(record->mutex);
    status = work(*record);
  } catch (const std::bad_alloc&) {
    status = HAL_OUT_OF_MEMORY_ERR;
  }
  HAL_resumeGlobalLock(levels);
  return status;
}

// A new string for `text` (none gives null) into *out.
HALStatus hand(const std::optional<std::u16string>& text, HALString** out) {
  *out = nullptr;
  if (!text) return HAL_OK;
  auto* s = new (std::nothrow) HALString();
  if (s == nullptr) return HAL_OUT_OF_MEMORY_ERR;
  if (!s->initFromChars(text->data(), static_cast<int32_t>(text->size()))) {
    HALString::release(s);
    return HAL_OUT_OF_MEMORY_ERR;
  }
  *out = s;
  return HAL_OK;
}

std::optional<std::u16string> copyOf(const char16_t* chars, int32_t length) {
  if (chars == nullptr) return std::nullopt;
  return std::u16string(chars, static_cast<size_t>(std::max(length, 0)));
}

// URLs, methods and header lines as sent: a lone surrogate becomes U+FFFD.
std::string utf8(const std::u16string& text) { return CeText::toUTF8(text); }

std::string userAgent() {
  static const char16_t kKey[] = u"MIDlet-Name";
  const int32_t keyLength = static_cast<int32_t>(std::char_traits<char16_t>::length(kKey));
  int32_t length = HAL_getApplicationPropertyLength(kKey, keyLength);
  if (length <= 0) return {};
  std::u16string value(static_cast<size_t>(length), u'\0');
  if (HAL_getApplicationProperty(kKey, keyLength, value.data(), &length) != HAL_OK) return {};
  value.resize(static_cast<size_t>(length));
  return utf8(value);
}

// --- URL parts ---

// Where the host starts (after "://") and ends (at the port's ':', the
// path, the query or the fragment).
std::pair<size_t, size_t> hostRange(const std::u16string& url) {
  const size_t colon = url.find(u':');
  const size_t start = colon == std::u16string::npos ? url.size() : std::min(colon + 3, url.size());
  const size_t end = url.find_first_of(u":/?#", start);
  return {start, end == std::u16string::npos ? url.size() : end};
}

int32_t portOf(const std::u16string& url) {
  const size_t at = hostRange(url).second;
  if (at >= url.size() || url[at] != u':') return 80;
  int64_t port = 0;
  size_t i = at + 1;
  for (; i < url.size() && url[i] >= u'0' && url[i] <= u'9'; ++i) port = std::min<int64_t>(port * 10 + (url[i] - u'0'), INT32_MAX);
  return i == at + 1 ? 80 : static_cast<int32_t>(port);
}

// Where the fragment starts (its '#'), or the URL's end.
size_t fragmentStart(const std::u16string& url) {
  const size_t at = url.find(u'#', hostRange(url).first);
  return at == std::u16string::npos ? url.size() : at;
}

// The path: from the '/' after the host and port to the query or the
// fragment; none when the URL has no path.
std::optional<std::u16string> fileOf(const std::u16string& url) {
  const size_t start = url.find_first_of(u"/?#", hostRange(url).second);
  if (start == std::u16string::npos || url[start] != u'/') return std::nullopt;
  const size_t end = url.find_first_of(u"?#", start);
  return url.substr(start, end == std::u16string::npos ? std::u16string::npos : end - start);
}

// The query: after the first '?' up to the fragment; none without one.
std::optional<std::u16string> queryOf(const std::u16string& url) {
  const size_t end = fragmentStart(url);
  const size_t at = url.find(u'?', hostRange(url).first);
  if (at == std::u16string::npos || at > end) return std::nullopt;
  return url.substr(at + 1, end - at - 1);
}

// The fragment: after the first '#' to the end; none without one.
std::optional<std::u16string> refOf(const std::u16string& url) {
  const size_t at = fragmentStart(url);
  if (at == url.size()) return std::nullopt;
  return url.substr(at + 1);
}

// The request header list, made empty at its first use; when the request
// went out before that, it holds the header that was sent.
std::vector<RequestHeader>& requestHeaders(Record& r) {
  if (!r.requestListMade) {
    r.requestListMade = true;
    if (r.sent && r.transfer) r.requestHeaders = HAL_parseHTTPHeaders(r.transfer->sentHeaders());
  }
  return r.requestHeaders;
}

// --- sending ---

CeHttpTransfer::Request requestOf(const Record& r) {
  CeHttpTransfer::Request request;
  request.url = utf8(r.url);
  request.method = r.method ? utf8(*r.method) : "GET";
  for (auto it = r.requestHeaders.rbegin(); it != r.requestHeaders.rend(); ++it) {
    std::string line;
    if (it->key) line = utf8(*it->key) + ": ";
    if (it->value) line += utf8(*it->value);
    request.headerLines.push_back(std::move(line));
  }
  size_t total = 0;
  for (const auto& chunk : r.bodyChunks) total += chunk.size();
  request.body.reserve(total);
  for (const auto& chunk : r.bodyChunks) request.body.insert(request.body.end(), chunk.begin(), chunk.end());
  request.userAgent = userAgent();
  return request;
}

// Sends the request once: 0 when the reply's header came, 4 when the
// request failed on the way, 7 when it could not be made.
HALStatus send(Record& r) {
  if (r.sent) return r.sendStatus;
  r.sent = true;
  if (r.closed || !r.transfer || !r.transfer->start(requestOf(r))) {
    r.sendStatus = HAL_IO_ERR;
  } else {
    r.sendStatus = r.transfer->waitForHeaders() ? HAL_OK : HAL_NOT_FOUND_ERR;
  }
  return r.sendStatus;
}

const std::vector<HALHttpHeader>& responseHeaders(Record& r) {
  if (!r.responseListMade) {
    r.responseListMade = true;
    if (send(r) == HAL_OK) r.responseHeaders = HAL_parseHTTPHeaders(r.transfer->rawHeaders());
  }
  return r.responseHeaders;
}

// The value of reply header `name`, or none.
std::optional<std::u16string> replyHeader(Record& r, std::u16string_view name) {
  const auto& headers = responseHeaders(r);
  const int32_t at = HAL_findHTTPHeader(headers, name);
  if (at < 0) return std::nullopt;
  return headers[static_cast<size_t>(at)].value;
}

// The decimal number that is the whole of `text` (blanks around it
// allowed), or -1.
int64_t numberOf(const std::optional<std::u16string>& text) {
  if (!text) return -1;
  const size_t first = text->find_first_not_of(u" \t");
  const size_t last = text->find_last_not_of(u" \t");
  if (first == std::u16string::npos) return -1;
  int64_t n = 0;
  for (size_t i = first; i <= last; ++i) {
    const char16_t c = (*text)[i];
    if (c < u'0' || c > u'9' || n > (INT64_MAX - 9) / 10) return -1;
    n = n * 10 + (c - u'0');
  }
  return n;
}

// Whether the reply can still be queried: sent successfully, not closed.
bool replyUsable(Record& r) { return !r.closed && send(r) == HAL_OK; }

template <class Get>
HALStatus stringQuery(int32_t handle, HALString** out, Get get) {
  if (out == nullptr) return HAL_ILLEGAL_ARGUMENT_ERR;
  *out = nullptr;
  return withRecord(handle, [&](Record& r) { return hand(get(r), out); });
}

HALStatus headerRecord(int32_t handle, int32_t index, HALString** out, bool key) {
  if (out == nullptr) return HAL_ILLEGAL_ARGUMENT_ERR;
  *out = nullptr;
  return withRecord(handle, [&](Record& r) {
    const auto& headers = responseHeaders(r);
    if (index < 0 || static_cast<size_t>(index) >= headers.size()) return HAL_NOT_FOUND_ERR;
    const HALHttpHeader& h = headers[static_cast<size_t>(index)];
    return hand(key ? h.key : h.value, out);
  });
}

}  // namespace

HALStatus HAL_createHTTPConnection(int32_t* outHandle, const char16_t* url, int32_t length) {
  if (outHandle == nullptr) return HAL_ILLEGAL_ARGUMENT_ERR;
  *outHandle = 0;
  try {
    auto record = std::make_shared<Record>();
    record->url = copyOf(url, length).value_or(std::u16string());
    record->transfer = std::make_unique<CeHttpTransfer>();
    std::lock_guard<std::mutex> lock(tableMutex());
    int32_t id = lastId;
    do {
      id = id == INT32_MAX ? 1 : id + 1;
    } while (table().count(id) != 0);
    table()[id] = std::move(record);
    lastId = id;
    *outHandle = id;
  } catch (const std::bad_alloc&) {
    // The handle stays 0: every later call on it fails.
  }
  return HAL_OK;
}

HALStatus HAL_destroyHTTPConnection(int32_t handle) {
  std::shared_ptr<Record> record;
  {
    std::lock_guard<std::mutex> lock(tableMutex());
    auto it = table().find(handle);
    if (it == table().end()) return HAL_ILLEGAL_ARGUMENT_ERR;
    record = std::move(it->second);
    table().erase(it);
  }
  // A call in flight on another thread stops at once; the record goes
  // when the last user lets it go.
  record->transfer->cancel();
  return HAL_OK;
}

HALStatus HAL_closeHTTPConnection(int32_t handle) {
  std::shared_ptr<Record> record = find(handle);
  if (!record) return HAL_ILLEGAL_ARGUMENT_ERR;
  record->transfer->cancel();
  return withRecord(handle, [](Record& r) {
    r.closed = true;
    r.transfer->close();
    return HAL_OK;
  });
}

HALStatus HAL_getHTTPConnectionURL(int32_t handle, HALString** out) {
  return stringQuery(handle, out, [](Record& r) { return std::optional<std::u16string>(r.url); });
}

HALStatus HAL_getHTTPConnectionHost(int32_t handle, HALString** out) {
  return stringQuery(handle, out, [](Record& r) {
    const auto [start, end] = hostRange(r.url);
    return std::optional<std::u16string>(r.url.substr(start, end - start));
  });
}

HALStatus HAL_getHTTPConnectionPort(int32_t handle, int32_t* out) {
  if (out == nullptr) return HAL_ILLEGAL_ARGUMENT_ERR;
  return withRecord(handle, [out](Record& r) {
    *out = portOf(r.url);
    return HAL_OK;
  });
}

HALStatus HAL_getHTTPConnectionFile(int32_t handle, HALString** out) {
  return stringQuery(handle, out, [](Record& r) { return fileOf(r.url); });
}

HALStatus HAL_getHTTPConnectionQuery(int32_t handle, HALString** out) {
  return stringQuery(handle, out, [](Record& r) { return queryOf(r.url); });
}

HALStatus HAL_getHTTPConnectionRef(int32_t handle, HALString** out) {
  return stringQuery(handle, out, [](Record& r) { return refOf(r.url); });
}

HALStatus HAL_getHTTPRequestMethod(int32_t handle, HALString** out) {
  return stringQuery(handle, out, [](Record& r) { return r.method ? r.method : std::u16string(u"GET"); });
}

HALStatus HAL_setHTTPRequestMethod(int32_t handle, const char16_t* method, int32_t length) {
  if (method == nullptr) return HAL_ILLEGAL_ARGUMENT_ERR;
  const std::u16string text(method, static_cast<size_t>(std::max(length, 0)));
  return withRecord(handle, [&](Record& r) {
    r.method = text;
    return HAL_OK;
  });
}

HALStatus HAL_setHTTPRequestProperty(int32_t handle, const char16_t* key, int32_t keyLength, const char16_t* value,
                                     int32_t valueLength) {
  const RequestHeader header{copyOf(key, keyLength), copyOf(value, valueLength)};
  return withRecord(handle, [&](Record& r) {
    auto& list = requestHeaders(r);
    auto same = std::find_if(list.begin(), list.end(), [&](const RequestHeader& h) { return header.key && h.key == header.key; });
    if (same != list.end()) {
      *same = header;
    } else {
      list.push_back(header);
    }
    return HAL_OK;
  });
}

HALStatus HAL_getHTTPRequestProperty(int32_t handle, const char16_t* key, int32_t keyLength, HALString** out) {
  const std::optional<std::u16string> wanted = copyOf(key, keyLength);
  return stringQuery(handle, out, [&](Record& r) {
    for (const RequestHeader& h : requestHeaders(r)) {
      if (h.key && h.key == wanted) return h.value;
    }
    return std::optional<std::u16string>();
  });
}

HALStatus HAL_getHTTPHeaderField(int32_t handle, const char16_t* name, int32_t length, HALString** out) {
  if (out == nullptr || name == nullptr) return HAL_ILLEGAL_ARGUMENT_ERR;
  *out = nullptr;
  const std::u16string wanted(name, static_cast<size_t>(std::max(length, 0)));
  return withRecord(handle, [&](Record& r) {
    const auto& headers = responseHeaders(r);
    const int32_t at = HAL_findHTTPHeader(headers, wanted);
    if (at < 0) return HAL_NOT_FOUND_ERR;
    return hand(headers[static_cast<size_t>(at)].value, out);
  });
}

HALStatus HAL_getHTTPHeaderFieldByIndex(int32_t handle, int32_t index, HALString** out) {
  return headerRecord(handle, index, out, false);
}

HALStatus HAL_getHTTPHeaderFieldKey(int32_t handle, int32_t index, HALString** out) {
  return headerRecord(handle, index, out, true);
}

HALStatus HAL_getHTTPResponseMessage(int32_t handle, HALString** out) { return headerRecord(handle, 0, out, false); }

HALStatus HAL_getHTTPEncoding(int32_t handle, HALString** out) {
  static const char16_t kName[] = u"Transfer-Encoding";
  return HAL_getHTTPHeaderField(handle, kName, static_cast<int32_t>(std::char_traits<char16_t>::length(kName)), out);
}

HALStatus HAL_getHTTPResponseCode(int32_t handle, int32_t* out) {
  if (out == nullptr) return HAL_ILLEGAL_ARGUMENT_ERR;
  *out = -1;
  return withRecord(handle, [out](Record& r) {
    const auto& headers = responseHeaders(r);
    if (!replyUsable(r) || headers.empty() || headers[0].key || !headers[0].value) return HAL_OK;
    // "HTTP/1.1 200 OK": the three digits after the first blank.
    const std::u16string& line = *headers[0].value;
    const size_t blank = line.find(u' ');
    if (blank == std::u16string::npos) return HAL_OK;
    const int64_t code = numberOf(line.substr(blank + 1, 3));
    if (code >= 0 && line.size() >= blank + 4) *out = static_cast<int32_t>(code);
    return HAL_OK;
  });
}

HALStatus HAL_getHTTPLength(int32_t handle, int64_t* out) {
  if (out == nullptr) return HAL_ILLEGAL_ARGUMENT_ERR;
  *out = -1;
  return withRecord(handle, [out](Record& r) {
    if (replyUsable(r)) *out = numberOf(replyHeader(r, u"Content-Length"));
    return HAL_OK;
  });
}

HALStatus HAL_getHTTPType(int32_t handle, HALString** out) {
  return stringQuery(handle, out, [](Record& r) {
    return replyUsable(r) ? replyHeader(r, u"Content-Type") : std::nullopt;
  });
}

HALStatus HAL_writeHTTPConnection(int32_t handle, const uint8_t* bytes, int32_t count) {
  if ((bytes == nullptr && count != 0) || count < 0) return HAL_ILLEGAL_ARGUMENT_ERR;
  try {
    std::vector<uint8_t> chunk(bytes, bytes + count);
    return withRecord(handle, [&](Record& r) {
      r.bodyChunks.push_back(std::move(chunk));
      return HAL_OK;
    });
  } catch (const std::bad_alloc&) {
    return HAL_OUT_OF_MEMORY_ERR;
  }
}

HALStatus HAL_flushHTTPConnection(int32_t handle) {
  return find(handle) ? HAL_OK : HAL_ILLEGAL_ARGUMENT_ERR;
}

HALStatus HAL_readHTTPConnection(int32_t handle, uint8_t* buffer, int32_t capacity, int32_t* count) {
  if (buffer == nullptr || count == nullptr || capacity < 1) return HAL_ILLEGAL_ARGUMENT_ERR;
  *count = 0;
  // Filled with the global lock released, copied to the caller's buffer
  // (which may lie in the Java heap) once it is held again.
  uint8_t chunk[kReadSize];
  int32_t n = 0;
  const HALStatus status = withRecord(handle, [&](Record& r) {
    if (r.closed || send(r) != HAL_OK) return HAL_IO_ERR;
    n = r.transfer->readBody(chunk, std::min(capacity, kReadSize));
    return n < 0 ? HAL_IO_ERR : n == 0 ? HAL_END_OF_DATA_ERR : HAL_OK;
  });
  if (status == HAL_OK) {
    std::memcpy(buffer, chunk, static_cast<size_t>(n));
    *count = n;
  }
  return status;
}

int32_t HAL_countHTTPConnections() {
  std::lock_guard<std::mutex> lock(tableMutex());
  return static_cast<int32_t>(table().size());
}

// Each transfer holds its own handles and the HTTP library's set-up lasts
// for the process, so no internet session outlives a connection: shutdown
// has nothing to close.
void HAL_closeInternetSession() {}
