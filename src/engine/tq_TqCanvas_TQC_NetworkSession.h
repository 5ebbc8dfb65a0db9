#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"
#include "java_io_InputStream.h"
#include "java_io_OutputStream.h"
#include "java_lang_String.h"
#include "java_lang_Thread.h"
#include "java_lang_Throwable.h"
#include "javax_microedition_io_HttpConnection.h"

namespace tq {

class TqCanvas;

// One HTTP request of the canvas, run on a thread of its own: a GET, or a
// POST of `body`, with the extra header lines of `headers` ("name: value"
// lines separated by '\n'). The whole reply is read into a byte array and
// handed to the canvas's job queue, which gives it to the game on the
// canvas thread (onNetworkResult).
//
// The status handed over is the HTTP response code when the request ran
// to its end; on a failure it is the stage reached: -9 before the method
// was set (the URL refused), -11 before the body or the response, -13
// while sending the body, -12 after a 200 reply, or the non-200 code.
// After a failure `bytesReceived` is -1 and no data is handed over.
//
// Only the session the canvas still holds in `httpSession` reports: one
// that was replaced or cancelled (stale) stops at its next check, closes
// its streams and ends silently. The check and the hand-over happen under
// the canvas's job lock, which cancelHttpRequest also holds, so a
// cancelled request never reports.
//
// Ownership: `connection`, `input` and `output` belong to the session and
// are closed by close at the end of every run. Play never waits for the
// transfer: the network calls release the global lock, and the reader
// sleeps 25 ms after each chunk.
class TqCanvas_TQC_NetworkSession : public java::lang::Thread {
  VM_CLASS(TqCanvas_TQC_NetworkSession, java::lang::Thread)

 public:
  using Bytes = VMArray<int8_t>;

  // contentLength -1.
  VMPtr<TqCanvas_TQC_NetworkSession> _VM_init();
  // The request; never throws.
  void run() override;
  // Closes the output stream, the input stream and the connection (those
  // still open), ignoring their failures.
  virtual void close();
  // The size of the next read: what the stream says is available (1024
  // when it says nothing), at most what the announced length still lacks.
  int32_t nextChunkSize();

  // Closes what `field` holds, ignoring its failure, and clears it (the
  // sessions close their streams and connections this way).
  template <class T>
  static void closeQuietly(VMField<T>& field) {
    VMPtr<T> held = field;
    if (!held) return;
    try {
      held->close();
    } catch (java::lang::Throwable* t) {
      VMPtr<java::lang::Throwable> ignored(t);
    }
    field = nullptr;
  }

  void _VM_markReferences(int colour) override;

  VMField<Bytes> body;
  VMField<java::io::InputStream> input;
  VMField<javax::microedition::io::HttpConnection> connection;
  VMField<java::lang::String> url;
  VMField<TqCanvas> canvas;
  int32_t bytesReceived;
  VMField<java::lang::String> headers;
  VMField<java::io::OutputStream> output;
  int32_t contentLength;

 private:
  bool isStale();
  // Throws a plain Exception when the session is stale.
  void checkStale();
  // The request stages; `status` follows the stage reached.
  void sendRequest(int32_t& status);
  void applyHeaders();
  void sendBody();
  void setProperty(const char* key, VMPtr<java::lang::String> value);
  // The reply's length: -1 when it is encoded or not announced.
  void discoverLength();
  VMPtr<java::lang::String> findLengthHeader();
  VMPtr<Bytes> readKnownLength();
  VMPtr<Bytes> readToEnd();
  // Hands the result to the canvas unless the session is stale.
  void report(int32_t status, VMPtr<Bytes> data);
};

}  // namespace tq
