#include "tq_TqCanvas_TQC_NetworkSession.h"

#include <algorithm>
#include <limits>

#include "VMJava.h"
#include "VMSynchronized.h"
#include "VMThrow.h"
#include "java_io_ByteArrayOutputStream.h"
#include "java_lang_Exception.h"
#include "java_lang_Integer.h"
#include "java_lang_System.h"
#include "javax_microedition_io_Connector.h"
#include "tq_TqCanvas.h"
#include "tq_io_FastInputStream.h"

VM_REGISTER_CLASS(tq::TqCanvas_TQC_NetworkSession, "tq.TqCanvas$NetworkSession", "java.lang.Thread", 0);

namespace tq {

using java::lang::String;
using javax::microedition::io::HttpConnection;

namespace {

// The sleep after each chunk, which keeps the game's frames coming.
constexpr int32_t kChunkPause = 25;
constexpr int32_t kDefaultChunk = 1024;
// Header keys looked at when the length is searched by key.
constexpr int32_t kHeaderKeysScanned = 50;

// Runs `call`; a throwable from it is dropped and what it would have set
// stays as it was.
template <class F>
void ignoringFailure(F&& call) {
  try {
    call();
  } catch (java::lang::Throwable* t) {
    VMPtr<java::lang::Throwable> ignored(t);
  }
}

}  // namespace

VMPtr<TqCanvas_TQC_NetworkSession> TqCanvas_TQC_NetworkSession::_VM_init() {
  Base::_VM_init();
  contentLength = -1;
  return VMPtr<TqCanvas_TQC_NetworkSession>(this);
}

void TqCanvas_TQC_NetworkSession::_VM_markReferences(int colour) {
  _VM_mark(body, colour);
  _VM_mark(input, colour);
  _VM_mark(connection, colour);
  _VM_mark(url, colour);
  _VM_mark(canvas, colour);
  _VM_mark(headers, colour);
  _VM_mark(output, colour);
  Base::_VM_markReferences(colour);
}

void TqCanvas_TQC_NetworkSession::run() {
  int32_t status = -9;
  int32_t responseCode = 0;
  VMPtr<Bytes> data;
  bool failed = false;
  try {
    checkStale();
    sendRequest(status);
    // A response code that cannot be read fails the request at the stage
    // reached: the connection was closed under it.
    responseCode = VMPtr<HttpConnection>(connection)->getResponseCode();
    status = responseCode == 200 ? -12 : responseCode;
    input = VMPtr<HttpConnection>(connection)->openInputStream();
    contentLength = -1;
    discoverLength();
    checkStale();
    data = contentLength > 0 ? readKnownLength() : readToEnd();
  } catch (java::lang::Throwable* t) {
    VMPtr<java::lang::Throwable> caught(t);
    bytesReceived = -1;
    failed = true;
  }
  // A failed transfer hands over no bytes: what was read is no reply body.
  report(failed ? status : responseCode, failed ? VMPtr<Bytes>() : data);
  close();
}

void TqCanvas_TQC_NetworkSession::close() {
  VMSynchronized lock(this);
  closeQuietly(output);
  closeQuietly(input);
  closeQuietly(connection);
}

int32_t TqCanvas_TQC_NetworkSession::nextChunkSize() {
  const int32_t available = VMPtr<java::io::InputStream>(input)->available();
  return std::min(available < 1 ? kDefaultChunk : available, contentLength - bytesReceived);
}

bool TqCanvas_TQC_NetworkSession::isStale() {
  VMPtr<TqCanvas> owner = canvas;
  return !owner || owner->httpSession.get() != this;
}

void TqCanvas_TQC_NetworkSession::checkStale() {
  if (isStale()) _VM_throwNew<java::lang::Exception>();
}

void TqCanvas_TQC_NetworkSession::sendRequest(int32_t& status) {
  const bool post = body.get() != nullptr;
  VMPtr<javax::microedition::io::Connection> opened = javax::microedition::io::Connector::open(
      url, post ? javax::microedition::io::Connector::READ_WRITE : javax::microedition::io::Connector::READ, 1);
  connection = _VM_cast<HttpConnection>(opened);
  VMPtr<HttpConnection>(connection)->setRequestMethod(_VM_intern(post ? "POST" : "GET"));
  status = -11;
  if (post) setProperty("Content-Type", _VM_intern("application/octet-stream"));
  if (headers) applyHeaders();
  if (post) {
    checkStale();
    status = -13;
    sendBody();
  }
}

// Line by line: "name: value", both trimmed; the first line without a ':'
// ends the list (its text never becomes part of a header).
void TqCanvas_TQC_NetworkSession::applyHeaders() {
  VMPtr<String> text = headers;
  const int32_t length = text->length();
  int32_t i = 0;
  while (i < length) {
    int32_t end = text->indexOf(u'\n', i);
    if (end < 0) end = length;
    const int32_t colon = text->indexOf(u':', i);
    if (colon < 0 || colon > end) break;
    VMPtr<String> name = text->substring(i, colon)->trim();
    VMPtr<String> value = text->substring(colon + 1, end)->trim();
    VMPtr<HttpConnection>(connection)->setRequestProperty(name, value);
    i = end + 1;
  }
}

void TqCanvas_TQC_NetworkSession::sendBody() {
  VMPtr<Bytes> bytes = body;
  setProperty("Content-Length", String::valueOf(bytes->length));
  VMPtr<java::io::OutputStream> out = VMPtr<HttpConnection>(connection)->openOutputStream();
  output = out;
  out->write(bytes, 0, bytes->length);
  ignoringFailure([&] { out->close(); });
  output = nullptr;
  body = nullptr;
}

void TqCanvas_TQC_NetworkSession::setProperty(const char* key, VMPtr<String> value) {
  VMPtr<HttpConnection>(connection)->setRequestProperty(_VM_intern(key), value);
}

// An encoded reply is read to its end; otherwise the announced length,
// from the header by name, by key, or the connection's own idea of it. A
// length that does not fit an int stays unknown (the reply is then read
// to its end).
void TqCanvas_TQC_NetworkSession::discoverLength() {
  VMPtr<HttpConnection> http = connection;
  VMPtr<String> encoding;
  ignoringFailure([&] { encoding = http->getEncoding(); });
  if (encoding && encoding->trim()->length() > 0) return;
  ignoringFailure([&] { contentLength = http->getHeaderFieldInt(_VM_intern("Content-Length"), -1); });
  if (contentLength >= 0) return;
  VMPtr<String> announced = findLengthHeader();
  if (announced) ignoringFailure([&] { contentLength = java::lang::Integer::parseInt(announced->trim()); });
  if (contentLength >= 0) return;
  ignoringFailure([&] {
    const int64_t length = http->getLength();
    if (length <= std::numeric_limits<int32_t>::max()) contentLength = static_cast<int32_t>(length);
  });
}

// The "Content-Length" value by name (a failure here fails the request),
// else the first non-null value of a key that reads "content-length" in
// lower case among the first 50.
VMPtr<String> TqCanvas_TQC_NetworkSession::findLengthHeader() {
  VMPtr<HttpConnection> http = connection;
  VMPtr<String> value = http->getHeaderField(_VM_intern("Content-Length"));
  if (value) return value;
  ignoringFailure([&] {
    VMPtr<String> wanted = _VM_intern("content-length");
    for (int32_t k = 0; k < kHeaderKeysScanned && !value; ++k) {
      VMPtr<String> key;
      ignoringFailure([&] { key = http->getHeaderFieldKey(k); });
      if (!key || !key->toLowerCase()->equals(wanted)) continue;
      ignoringFailure([&] { value = http->getHeaderField(k); });
    }
  });
  return value;
}

// Straight into an array of the announced length; a reply that ends
// early is cut to what came.
VMPtr<TqCanvas_TQC_NetworkSession::Bytes> TqCanvas_TQC_NetworkSession::readKnownLength() {
  TqCanvas::sleep(kChunkPause);
  VMPtr<Bytes> data = Bytes::create(contentLength);
  VMPtr<java::io::InputStream> in = input;
  while (!isStale() && bytesReceived < contentLength) {
    const int32_t n = in->read(data, bytesReceived, nextChunkSize());
    if (n == -1) {
      VMPtr<Bytes> cut = Bytes::create(bytesReceived);
      java::lang::System::arraycopy(data, 0, cut, 0, bytesReceived);
      return cut;
    }
    bytesReceived += n;
    TqCanvas::sleep(kChunkPause);
  }
  return data;
}

VMPtr<TqCanvas_TQC_NetworkSession::Bytes> TqCanvas_TQC_NetworkSession::readToEnd() {
  bytesReceived = 0;
  VMPtr<io::FastInputStream> in = io::FastInputStream::_VM_new();
  in->_VM_init(input);
  VMPtr<java::io::ByteArrayOutputStream> out = java::io::ByteArrayOutputStream::_VM_new();
  out->_VM_init(kDefaultChunk);
  while (!isStale()) {
    const int32_t n = in->drainTo(out);
    if (n == -1) break;
    bytesReceived += n;
    TqCanvas::sleep(kChunkPause);
  }
  bytesReceived = out->size();
  return out->toByteArray();
}

// Under the job lock, which cancelHttpRequest holds while it drops the
// session: a request cancelled before this point never reports, one
// cancelled after it has its result dropped by the cancel.
void TqCanvas_TQC_NetworkSession::report(int32_t status, VMPtr<Bytes> data) {
  VMPtr<TqCanvas> owner = canvas;
  if (!owner) return;
  ignoringFailure([&] {
    VMSynchronized lock(owner->getJobLock());
    if (!isStale()) owner->postNetworkResult(status, data);
  });
}

}  // namespace tq
