#include "com_ravelstone_brume_midp_io_protocol_http_Protocol.h"

#include <cstdio>
#include <string>

#include "HALHttp.h"
#include "HALString.h"
#include "VMThrow.h"
#include "java_io_DataInputStream.h"
#include "java_io_DataOutputStream.h"
#include "java_io_IOException.h"
#include "java_io_PrintStream.h"
#include "java_lang_IllegalArgumentException.h"
#include "java_lang_Integer.h"
#include "java_lang_NumberFormatException.h"
#include "java_lang_System.h"
#include "java_util_Calendar.h"
#include "java_util_Date.h"
#include "java_util_TimeZone.h"

VM_REGISTER_CLASS(com::ravelstone::brume::midp::io::protocol::http::Protocol,
                  "com.ravelstone.brume.midp.io.protocol.http.Protocol", "java.lang.Object",
                  VM_INSTANTIABLE | VM_HAS_CLINIT);
VM_IMPLEMENTS(com::ravelstone::brume::midp::io::protocol::http::Protocol,
              "com.ravelstone.brume.cldc.io.ConnectionBaseInterface");
VM_IMPLEMENTS(com::ravelstone::brume::midp::io::protocol::http::Protocol, "javax.microedition.io.HttpConnection");

namespace com::ravelstone::brume::midp::io::protocol::http {

using java::lang::String;
using javax::microedition::io::HttpConnection;

VMStatic<String> Protocol::protocolName;
VMStatic<VMArray<String>> Protocol::dateWords;
int32_t Protocol::defaultCenturyStart;

namespace {

[[noreturn]] void fail(const char* what) { _VM_throwNew<java::io::IOException>(what); }

[[noreturn]] void failStatus(HALStatus status) {
  fail(("HttpConnection error: " + std::to_string(status)).c_str());
}

// Releases a platform string on every way out.
struct Owned {
  HALString* s;
  ~Owned() { HALString::release(s); }
};

const char16_t* charsOf(const VMPtr<String>& s) { return s ? s->_VM_chars() : nullptr; }
int32_t lengthOf(const VMPtr<String>& s) { return s ? s->length() : 0; }

}  // namespace

Protocol::~Protocol() {
  if (handle != 0) HAL_destroyHTTPConnection(handle);
}

VMPtr<Protocol> Protocol::_VM_init() {
  Object::_VM_init();
  handle = 0;
  state = kSetup;
  outputStream = nullptr;
  return VMPtr<Protocol>(this);
}

void Protocol::_VM_markReferences(int colour) {
  _VM_mark(outputStream, colour);
  _VM_mark(inputStream, colour);
  Object::_VM_markReferences(colour);
}

void Protocol::checkOpen() {
  if (state == kClosed) fail("HttpConnection error: the connection is closed");
}

void Protocol::connect() {
  checkOpen();
  if (state == kSetup) state = kConnected;
}

VMPtr<String> Protocol::stringResult(HALStatus status, HALString*& s) {
  Owned owned{s};
  if (status == HAL_IO_ERR) failStatus(status);
  if (status != HAL_OK || s == nullptr) return VMPtr<String>();
  VMPtr<String> text = String::_VM_new();
  text->_VM_init(s);
  return text;
}

VMPtr<javax::microedition::io::Connection> Protocol::openPrim(VMPtr<String> name, int32_t mode, uint8_t timeouts) {
  int32_t made = 0;
  const HALStatus status = HAL_createHTTPConnection(&made, charsOf(name), lengthOf(name));
  if (status != HAL_OK) fail(("HAL_createHTTPConnection error: " + std::to_string(status)).c_str());
  handle = made;
  return VMPtr<javax::microedition::io::Connection>(this);
}

void Protocol::close() {
  if (inputStream) {
    try {
      VMPtr<HttpInputStream>(inputStream)->close();
    } catch (java::lang::Throwable*) {
    }
    inputStream = nullptr;
  }
  if (outputStream) {
    try {
      VMPtr<HttpOutputStream>(outputStream)->close();
    } catch (java::lang::Throwable*) {
    }
    outputStream = nullptr;
  }
  if (handle != 0) HAL_destroyHTTPConnection(handle);
  state = kClosed;
  handle = 0;
}

VMPtr<java::io::InputStream> Protocol::openInputStream() {
  connect();
  VMPtr<HttpInputStream> stream;
  if (handle != 0) {
    stream = HttpInputStream::_VM_new();
    stream->_VM_init(handle);
    stream->connection = VMPtr<java::lang::Object>(this);
  }
  inputStream = stream;
  return stream;
}

VMPtr<java::io::DataInputStream> Protocol::openDataInputStream() {
  VMPtr<java::io::InputStream> in = openInputStream();
  VMPtr<java::io::DataInputStream> data = java::io::DataInputStream::_VM_new();
  data->_VM_init(in);
  return data;
}

VMPtr<java::io::OutputStream> Protocol::openOutputStream() {
  checkOpen();
  VMPtr<HttpOutputStream> stream = HttpOutputStream::_VM_new();
  stream->_VM_init(handle);
  stream->connection = VMPtr<java::lang::Object>(this);
  outputStream = stream;
  return stream;
}

VMPtr<java::io::DataOutputStream> Protocol::openDataOutputStream() {
  VMPtr<java::io::OutputStream> out = openOutputStream();
  VMPtr<java::io::DataOutputStream> data = java::io::DataOutputStream::_VM_new();
  data->_VM_init(out);
  return data;
}

VMPtr<String> Protocol::getType() {
  connect();
  HALString* s = nullptr;
  return stringResult(HAL_getHTTPType(handle, &s), s);
}

VMPtr<String> Protocol::getEncoding() {
  connect();
  HALString* s = nullptr;
  return stringResult(HAL_getHTTPEncoding(handle, &s), s);
}

int64_t Protocol::getLength() {
  connect();
  int64_t length = -1;
  const HALStatus status = HAL_getHTTPLength(handle, &length);
  if (status == HAL_IO_ERR) failStatus(status);
  return status == HAL_OK ? length : -1;
}

VMPtr<String> Protocol::getURL() {
  checkOpen();
  HALString* s = nullptr;
  return stringResult(HAL_getHTTPConnectionURL(handle, &s), s);
}

VMPtr<String> Protocol::getProtocol() {
  checkOpen();
  _VM_clinitCheck();
  return protocolName;
}

VMPtr<String> Protocol::getHost() {
  checkOpen();
  HALString* s = nullptr;
  return stringResult(HAL_getHTTPConnectionHost(handle, &s), s);
}

VMPtr<String> Protocol::getFile() {
  checkOpen();
  HALString* s = nullptr;
  return stringResult(HAL_getHTTPConnectionFile(handle, &s), s);
}

VMPtr<String> Protocol::getRef() {
  checkOpen();
  HALString* s = nullptr;
  return stringResult(HAL_getHTTPConnectionRef(handle, &s), s);
}

VMPtr<String> Protocol::getQuery() {
  checkOpen();
  HALString* s = nullptr;
  return stringResult(HAL_getHTTPConnectionQuery(handle, &s), s);
}

int32_t Protocol::getPort() {
  checkOpen();
  int32_t port = 80;
  return HAL_getHTTPConnectionPort(handle, &port) == HAL_OK ? port : 80;
}

VMPtr<String> Protocol::getRequestMethod() {
  checkOpen();
  HALString* s = nullptr;
  return stringResult(HAL_getHTTPRequestMethod(handle, &s), s);
}

void Protocol::setRequestMethod(VMPtr<String> method) {
  checkOpen();
  if (state == kConnected) fail("HttpConnection error: HTTP method cannot be reset");
  java::lang::System::_VM_clinitCheck();
  VMPtr<java::io::PrintStream> out = java::lang::System::out;
  out->println(method);
  HttpConnection::_VM_clinitCheck();
  VMPtr<String> head = HttpConnection::HEAD;
  VMPtr<String> get = HttpConnection::GET;
  VMPtr<String> post = HttpConnection::POST;
  if (!head->equals(method) && !get->equals(method) && !post->equals(method)) {
    fail("HttpConnection error: Invalid HTTP method");
  }
  HAL_setHTTPRequestMethod(handle, method->_VM_chars(), method->length());
}

VMPtr<String> Protocol::getRequestProperty(VMPtr<String> key) {
  checkOpen();
  HALString* s = nullptr;
  return stringResult(HAL_getHTTPRequestProperty(handle, charsOf(key), lengthOf(key), &s), s);
}

void Protocol::setRequestProperty(VMPtr<String> key, VMPtr<String> value) {
  checkOpen();
  if (state == kConnected) {
    fail("HttpConnection error: HTTP request property cannot be set because the connection is in the Connected state");
  }
  HAL_setHTTPRequestProperty(handle, charsOf(key), lengthOf(key), charsOf(value), lengthOf(value));
}

int32_t Protocol::getResponseCode() {
  connect();
  int32_t code = -1;
  const HALStatus status = HAL_getHTTPResponseCode(handle, &code);
  if (status == HAL_IO_ERR) failStatus(status);
  return status == HAL_OK ? code : -1;
}

VMPtr<String> Protocol::getResponseMessage() {
  connect();
  HALString* s = nullptr;
  return stringResult(HAL_getHTTPResponseMessage(handle, &s), s);
}

VMPtr<String> Protocol::headerField(const char* name) { return getHeaderField(String::_VM_fromUTF8(name)); }

int64_t Protocol::dateHeader(const char* name) {
  connect();
  VMPtr<String> value = headerField(name);
  if (!value) return 0;
  try {
    return parseDate(value);
  } catch (java::lang::IllegalArgumentException*) {
    return 0;
  }
}

int64_t Protocol::getExpiration() { return dateHeader("expires"); }

int64_t Protocol::getDate() { return dateHeader("date"); }

int64_t Protocol::getLastModified() { return dateHeader("last-modified"); }

VMPtr<String> Protocol::getHeaderField(int32_t n) {
  connect();
  HALString* s = nullptr;
  return stringResult(HAL_getHTTPHeaderFieldByIndex(handle, n, &s), s);
}

VMPtr<String> Protocol::getHeaderField(VMPtr<String> name) {
  connect();
  HALString* s = nullptr;
  return stringResult(HAL_getHTTPHeaderField(handle, charsOf(name), lengthOf(name), &s), s);
}

int32_t Protocol::getHeaderFieldInt(VMPtr<String> name, int32_t def) {
  connect();
  VMPtr<String> value = getHeaderField(name);
  if (!value) return def;
  try {
    return java::lang::Integer::parseInt(value);
  } catch (java::lang::NumberFormatException*) {
    return def;
  }
}

int64_t Protocol::getHeaderFieldDate(VMPtr<String> name, int64_t def) {
  connect();
  VMPtr<String> value = getHeaderField(name);
  if (!value) return def;
  try {
    return parseDate(value);
  } catch (java::lang::IllegalArgumentException*) {
    return def;
  }
}

VMPtr<String> Protocol::getHeaderFieldKey(int32_t n) {
  connect();
  HALString* s = nullptr;
  return stringResult(HAL_getHTTPHeaderFieldKey(handle, n, &s), s);
}

// --- the date reader ---

namespace {

constexpr const char* kDateWords[] = {
    "am",     "pm",      "monday",   "tuesday",   "wednesday", "thursday", "friday",   "saturday",
    "sunday", "january", "february", "march",     "april",     "may",      "june",     "july",
    "august", "september", "october", "november", "december",  "gmt",      "ut",       "utc",
    "est",    "edt",     "cst",      "cdt",       "mst",       "mdt",      "pst",      "pdt"};
// What each word does: 0 nothing, 1 pm, 14 am, 2..13 a month (January 2),
// 10000 + m a zone m minutes west of GMT.
constexpr int32_t kDateActions[] = {14,    1,     0,     0,     0,     0,     0,     0,
                                    0,     2,     3,     4,     5,     6,     7,     8,
                                    9,     10,    11,    12,    13,    10000, 10000, 10000,
                                    10300, 10240, 10360, 10300, 10420, 10360, 10480, 10420};
constexpr int32_t kWordCount = 32;
constexpr int32_t kUnsetYear = INT32_MIN;

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool isLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }
char16_t lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

// The fields read so far; -1 (or kUnsetYear) when unset. The small fields
// are 8-bit, as the reader has always kept them.
struct DateFields {
  int32_t year = kUnsetYear;
  int8_t mon = -1;
  int8_t mday = -1;
  int8_t hour = -1;
  int8_t min = -1;
  int8_t sec = -1;
  int32_t tzoffset = -1;
};

// A number `n` read at the end of a run of digits; `c` is the character
// after the run (or its last digit when the run ends the text). False
// rejects the text.
bool placeNumber(DateFields& f, int32_t n, char16_t c, bool endsText, char16_t prevc) {
  if (prevc == u'+' || (prevc == u'-' && f.year != kUnsetYear)) {
    // A zone offset: hours, or hhmm; east of GMT counts negative.
    n = n < 24 ? n * 60 : n % 100 + n / 100 * 60;
    if (prevc == u'+') n = -n;
    if (f.tzoffset != -1 && f.tzoffset != 0) return false;
    f.tzoffset = n;
    return true;
  }
  if (n >= 70) {
    if (f.year != kUnsetYear) return false;
    if (!(c <= u' ' || c == u',' || c == u'/' || endsText)) return false;
    f.year = n;
    return true;
  }
  if (c == u':') {
    if (f.hour == -1) {
      f.hour = static_cast<int8_t>(n);
    } else if (f.min == -1) {
      f.min = static_cast<int8_t>(n);
    } else {
      return false;
    }
    return true;
  }
  if (c == u'/') {
    if (f.mon == -1) {
      f.mon = static_cast<int8_t>(n - 1);
    } else if (f.mday == -1) {
      f.mday = static_cast<int8_t>(n);
    } else {
      return false;
    }
    return true;
  }
  if (!endsText && c != u',' && c > u' ' && c != u'-') return false;
  if (f.hour != -1 && f.min == -1) {
    f.min = static_cast<int8_t>(n);
  } else if (f.min != -1 && f.sec == -1) {
    f.sec = static_cast<int8_t>(n);
  } else if (f.mday == -1) {
    f.mday = static_cast<int8_t>(n);
  } else if (f.year == kUnsetYear && f.mon != -1) {
    f.year = n;  // a two-digit year after the day
  } else {
    return false;
  }
  return true;
}

// The word's action: the last table entry of which it is a prefix
// (letter case ignored), or -1.
int32_t wordAction(const VMPtr<VMArray<String>>& words, const char16_t* word, int32_t length) {
  for (int32_t k = kWordCount - 1; k >= 0; --k) {
    VMPtr<String> entry = words->get(k);
    if (length > entry->length()) continue;
    int32_t i = 0;
    while (i < length && lower(word[i]) == entry->charAt(i)) ++i;
    if (i == length) return kDateActions[k];
  }
  return -1;
}

bool applyWord(DateFields& f, int32_t action) {
  if (action == 1 || action == 14) {
    if (f.hour < 1 || f.hour > 12) return false;
    if (action == 1 && f.hour < 12) f.hour = static_cast<int8_t>(f.hour + 12);
    if (action == 14 && f.hour == 12) f.hour = 0;
  } else if (action >= 2 && action <= 13) {
    if (f.mon != -1) return false;
    f.mon = static_cast<int8_t>(action - 2);
  } else if (action >= 10000) {
    f.tzoffset = action - 10000;
  }
  return true;
}

// The zone for `tzoffset` (minutes to add to reach UTC): "UTC-05:00" for
// 300, "UTC+02:00" for -120.
VMPtr<String> zoneId(int32_t tzoffset) {
  const int64_t minutes = tzoffset < 0 ? -static_cast<int64_t>(tzoffset) : tzoffset;
  char id[32];
  std::snprintf(id, sizeof id, "UTC%c%02lld:%02lld", tzoffset > 0 ? '-' : '+', static_cast<long long>(minutes / 60),
                static_cast<long long>(minutes % 60));
  return String::_VM_fromUTF8(id);
}

}  // namespace

void Protocol::_VM_clinit() {
  protocolName = _VM_intern("http");
  VMPtr<VMArray<String>> words = VMArray<String>::create(kWordCount);
  for (int32_t k = 0; k < kWordCount; ++k) words->set(k, _VM_intern(kDateWords[k]));
  dateWords = words;
}

int64_t Protocol::parseDate(VMPtr<String> s) {
  _VM_clinitCheck();
  VMPtr<String> message = String::_VM_fromUTF8("Error parsing date");
  auto reject = [&message]() { _VM_throwNew<java::lang::IllegalArgumentException>(message); };
  if (!s) reject();
  VMPtr<VMArray<String>> words = dateWords;
  DateFields f;
  char16_t prevc = 0;
  const int32_t limit = s->length();
  int32_t i = 0;
  while (i < limit) {
    char16_t c = s->charAt(i++);
    if (c <= u' ' || c == u',') continue;
    if (c == u'(') {
      for (int32_t depth = 1; i < limit && depth >= 1;) {
        c = s->charAt(i++);
        depth += c == u'(' ? 1 : c == u')' ? -1 : 0;
      }
      continue;
    }
    if (isDigit(c)) {
      uint32_t n = c - u'0';
      while (i < limit && isDigit(s->charAt(i))) n = n * 10 + (s->charAt(i++) - u'0');
      const bool endsText = i >= limit;
      if (!endsText) c = s->charAt(i);
      if (!placeNumber(f, static_cast<int32_t>(n), c, endsText, prevc)) reject();
      prevc = 0;
      continue;
    }
    if (c == u'/' || c == u':' || c == u'+' || c == u'-') {
      prevc = c;
      continue;
    }
    const int32_t start = i - 1;
    while (i < limit && isLetter(s->charAt(i))) ++i;
    if (i - start < 2) reject();
    const int32_t action = wordAction(words, s->_VM_chars() + start, i - start);
    if (action < 0 || !applyWord(f, action)) reject();
    prevc = 0;
  }
  if (f.year == kUnsetYear || f.mon == -1 || f.mday == -1) reject();
  if (f.year < 100) {
    if (defaultCenturyStart == 0) {
      defaultCenturyStart = java::util::Calendar::getInstance()->get(java::util::Calendar::YEAR) - 80;
    }
    f.year += defaultCenturyStart / 100 * 100;
    if (f.year < defaultCenturyStart) f.year += 100;
  }
  VMPtr<java::util::Calendar> calendar = java::util::Calendar::getInstance();
  if (f.tzoffset != -1) calendar->setTimeZone(java::util::TimeZone::getTimeZone(zoneId(f.tzoffset)));
  using java::util::Calendar;
  calendar->set(Calendar::YEAR, f.year);
  calendar->set(Calendar::MONTH, f.mon);
  calendar->set(Calendar::DAY_OF_MONTH, f.mday);
  calendar->set(Calendar::HOUR_OF_DAY, f.hour == -1 ? 0 : f.hour);
  calendar->set(Calendar::MINUTE, f.min == -1 ? 0 : f.min);
  calendar->set(Calendar::SECOND, f.sec == -1 ? 0 : f.sec);
  calendar->set(Calendar::MILLISECOND, 0);
  return calendar->getTime()->getTime();
}

}  // namespace com::ravelstone::brume::midp::io::protocol::http
