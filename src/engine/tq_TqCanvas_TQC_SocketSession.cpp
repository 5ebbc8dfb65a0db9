#include "tq_TqCanvas_TQC_SocketSession.h"

#include "VMJava.h"
#include "VMSynchronized.h"
#include "java_lang_Integer.h"
#include "java_lang_System.h"
#include "javax_microedition_io_Connector.h"
#include "tq_TqCanvas.h"
#include "tq_TqCanvas_TQC_NetworkSession.h"

VM_REGISTER_CLASS(tq::TqCanvas_TQC_SocketSession, "tq.TqCanvas$SocketSession", "java.lang.Thread", 0);

namespace tq {

using java::util::Vector;

namespace {

constexpr int32_t kFirstBufferSize = 256;
// The sender looks at the queue at least this often while it is empty.
constexpr int64_t kSenderWaitMillis = 1000;

}  // namespace

VMPtr<TqCanvas_TQC_SocketSession> TqCanvas_TQC_SocketSession::_VM_init() {
  Base::_VM_init();
  VMPtr<Vector> queue = Vector::_VM_new();
  queue->_VM_init();
  outgoing = queue;
  return VMPtr<TqCanvas_TQC_SocketSession>(this);
}

void TqCanvas_TQC_SocketSession::_VM_markReferences(int colour) {
  _VM_mark(connection, colour);
  _VM_mark(output, colour);
  _VM_mark(input, colour);
  _VM_mark(url, colour);
  _VM_mark(canvas, colour);
  _VM_mark(outgoing, colour);
  Base::_VM_markReferences(colour);
}

void TqCanvas_TQC_SocketSession::run() {
  if (url) {
    runConnection();
  } else {
    runSender();
  }
}

// One session at a time gets past the class monitor; a failure to open
// (always so where no "socket" protocol exists), a failure while reading
// (the game's hook included) and the end of the stream all close it.
void TqCanvas_TQC_SocketSession::runConnection() {
  VMSynchronized oneAtATime(getClass());
  try {
    open();
    readLoop();
  } catch (java::lang::Throwable* t) {
    VMPtr<java::lang::Throwable> caught(t);
  }
  close();
}

void TqCanvas_TQC_SocketSession::open() {
  connection = _VM_cast<javax::microedition::io::SocketConnection>(javax::microedition::io::Connector::open(url));
  VMPtr<javax::microedition::io::SocketConnection> opened = connection;
  input = opened->openDataInputStream();
  output = opened->openDataOutputStream();
  url = nullptr;
  VMPtr<java::lang::Thread> sender = java::lang::Thread::_VM_new();
  sender->_VM_init(VMPtr<java::lang::Runnable>(this));
  sender->start();
}

// Hands over what is available at once (growing the buffer to it), or
// blocks for one byte when nothing is; returns at the end of the stream.
void TqCanvas_TQC_SocketSession::readLoop() {
  VMPtr<Bytes> buffer = Bytes::create(kFirstBufferSize);
  VMPtr<java::io::DataInputStream> in = input;
  while (!closed) {
    int32_t n = in->available();
    if (buffer->length < n) buffer = Bytes::create(n);
    if (n <= 0) n = 1;
    n = in->read(buffer, 0, n);
    if (n < 0) return;
    if (n > 0) VMPtr<TqCanvas>(canvas)->onSocketData(buffer, n);
  }
}

void TqCanvas_TQC_SocketSession::runSender() {
  while (!closed) {
    try {
      sendQueued();
    } catch (java::lang::Throwable* t) {
      VMPtr<java::lang::Throwable> caught(t);
      close();
    }
    waitForMessages();
  }
}

// Each message is taken off the queue whole, under one hold of its
// monitor, and written outside it, so the game never waits for a write.
void TqCanvas_TQC_SocketSession::sendQueued() {
  VMPtr<Vector> queue = outgoing;
  while (!closed) {
    VMPtr<Bytes> data;
    int32_t value = 0;
    {
      VMSynchronized lock(queue);
      if (queue->size() < 2) return;
      data = _VM_cast<Bytes>(queue->elementAt(0));
      value = _VM_cast<java::lang::Integer>(queue->elementAt(1))->value;
      queue->removeElementAt(0);
      queue->removeElementAt(0);
    }
    const int32_t offset = value >> 16;
    const int32_t length = value & 0xFFFF;
    if (length > 0) {
      VMPtr<java::io::DataOutputStream> out = output;
      out->write(data, offset, length);
      out->flush();
    }
  }
}

void TqCanvas_TQC_SocketSession::waitForMessages() {
  VMPtr<Vector> queue = outgoing;
  VMSynchronized lock(queue);
  if (!queue->isEmpty() || closed) return;
  try {
    queue->wait(kSenderWaitMillis);
  } catch (java::lang::Throwable* t) {
    VMPtr<java::lang::Throwable> ignored(t);
  }
}

// The first call closes; every call closes what was opened after an
// earlier one (an open that finished after the session was closed) and
// drops the session from the canvas when the canvas still holds it.
void TqCanvas_TQC_SocketSession::close() {
  VMSynchronized lock(this);
  const bool first = !closed;
  closed = 1;
  TqCanvas_TQC_NetworkSession::closeQuietly(output);
  TqCanvas_TQC_NetworkSession::closeQuietly(input);
  TqCanvas_TQC_NetworkSession::closeQuietly(connection);
  if (first) {
    VMPtr<Vector> queue = outgoing;
    {
      VMSynchronized queueLock(queue);
      queue->removeAllElements();
      queue->notify();
    }
    java::lang::System::gc();
  }
  VMPtr<TqCanvas> owner = canvas;
  if (owner && owner->socketSession.get() == this) owner->socketSession = nullptr;
}

}  // namespace tq
