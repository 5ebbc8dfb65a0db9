// The canvas's side of its network sessions: starting, dropping and
// polling the HTTP request, handing a URL to the platform, and the socket
// session's open, close and send.
#include "VMJava.h"
#include "VMSynchronized.h"
#include "VMThrow.h"
#include "java_lang_IllegalArgumentException.h"
#include "java_lang_Integer.h"
#include "java_lang_StringBuffer.h"
#include "tq_TqCanvas.h"

namespace tq {

using java::lang::String;

namespace {

// What one queued socket message can carry: the offset and the length
// share one int.
constexpr int32_t kMaxMessageOffset = 0x7FFF;
constexpr int32_t kMaxMessageLength = 0xFFFF;

void checkMessageRange(const VMPtr<VMArray<int8_t>>& data, int32_t offset, int32_t length) {
  const int32_t size = _VM_length(data);
  if (offset < 0 || length < 0 || offset > kMaxMessageOffset || length > kMaxMessageLength ||
      length > size - offset) {
    _VM_throwNew<java::lang::IllegalArgumentException>("socketSend: range outside the data or a message");
  }
}

}  // namespace

void TqCanvas::startHttpRequest(VMPtr<String> url, VMPtr<String> headers, VMPtr<VMArray<int8_t>> body) {
  VMSynchronized lock(this);
  cancelHttpRequest();
  VMPtr<TqCanvas_TQC_NetworkSession> session = TqCanvas_TQC_NetworkSession::_VM_new();
  session->_VM_init();
  httpSession = session;
  session->canvas = VMPtr<TqCanvas>(this);
  session->url = url;
  session->headers = headers;
  session->body = body;
  session->start();
}

void TqCanvas::startHttpRequest(VMPtr<String> url, VMPtr<String> headers) { startHttpRequest(url, headers, nullptr); }

// The session is dropped under the job lock, where it hands its result
// over: its result is either not posted at all or dropped here.
void TqCanvas::cancelHttpRequest() {
  VMSynchronized lock(this);
  VMSynchronized jobs(getJobLock());
  cancelNetworkResult();
  httpSession = nullptr;
}

int32_t TqCanvas::getHttpContentLength() {
  VMSynchronized lock(this);
  VMPtr<TqCanvas_TQC_NetworkSession> session = httpSession;
  return session ? session->contentLength : 0;
}

int32_t TqCanvas::getHttpBytesReceived() {
  VMSynchronized lock(this);
  VMPtr<TqCanvas_TQC_NetworkSession> session = httpSession;
  return session ? session->bytesReceived : 0;
}

VMPtr<VMArray<String>> TqCanvas::getNetworkStrings() {
  VMSynchronized lock(this);
  return nullptr;
}

uint8_t TqCanvas::openUrl(VMPtr<String> url) {
  VMPtr<MediaManager> media = mediaManager;
  if (media) media->stop(-1);
  if (VMPtr<MIDlet>(midlet)->platformRequest(url)) requestState(3);
  return 1;
}

uint8_t TqCanvas::requestUrl(VMPtr<String> url) { return openUrl(url); }

int32_t TqCanvas::openSocket(VMPtr<String> address) {
  closeSocket();
  VMPtr<TqCanvas_TQC_SocketSession> session = TqCanvas_TQC_SocketSession::_VM_new();
  session->_VM_init();
  socketSession = session;
  session->canvas = VMPtr<TqCanvas>(this);
  VMPtr<java::lang::StringBuffer> text = java::lang::StringBuffer::_VM_new();
  text->_VM_init();
  text->append("socket://");
  text->append(address);
  session->url = text->toString();
  session->start();
  return 0;
}

void TqCanvas::closeSocket() {
  VMPtr<TqCanvas_TQC_SocketSession> session = socketSession;
  if (session) session->close();
}

int32_t TqCanvas::socketSend(VMPtr<VMArray<int8_t>> data, int32_t offset, int32_t length) {
  VMPtr<TqCanvas_TQC_SocketSession> session = socketSession;
  if (!session) return 0;
  if (session->closed) return -1;
  checkMessageRange(data, offset, length);
  VMPtr<java::lang::Integer> packed = java::lang::Integer::_VM_new();
  packed->_VM_init((offset << 16) + length);
  VMPtr<java::util::Vector> queue = session->outgoing;
  VMSynchronized lock(queue);
  // The allocation may have let the session close meanwhile.
  if (!session->closed) {
    queue->addElement(data);
    queue->addElement(packed);
    queue->notify();
  }
  return -1;
}

}  // namespace tq
