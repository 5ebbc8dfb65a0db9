#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"
#include "java_io_DataInputStream.h"
#include "java_io_DataOutputStream.h"
#include "java_lang_String.h"
#include "java_lang_Thread.h"
#include "java_util_Vector.h"
#include "javax_microedition_io_SocketConnection.h"

namespace tq {

class TqCanvas;

// The canvas's raw stream connection to a host ("socket://" and the
// address). One object serves two threads: the thread the canvas starts
// (`url` set) opens the connection, starts a second Thread over this
// object as the sender and then reads, handing each piece that arrives to
// the canvas's onSocketData on its own thread; the sender (`url` null by
// then) writes the queued messages in order.
//
// Messages: `outgoing` holds pairs of a byte[] and an Integer of
// (offset << 16) + length, so an offset fits 0..32767 and a length
// 0..65535; the canvas's socketSend refuses other ranges.
//
// At most one session is open at a time: its connection thread holds the
// monitor of this class's class object from the open to the end of its
// read loop. close runs once (later calls only drop the session from the
// canvas, when the canvas still holds it); it closes the streams under a
// blocked reader, empties the queue and wakes the sender. The end of the
// input stream closes the session too. Nothing is told to the game; it
// sees `socketSession` become null.
//
// Ownership: the connection and its two streams belong to the session and
// are closed by close.
class TqCanvas_TQC_SocketSession : public java::lang::Thread {
  VM_CLASS(TqCanvas_TQC_SocketSession, java::lang::Thread)

 public:
  using Bytes = VMArray<int8_t>;

  // An empty queue.
  VMPtr<TqCanvas_TQC_SocketSession> _VM_init();
  // The connection and reader thread while `url` is set, else the sender.
  void run() override;
  virtual void close();

  void _VM_markReferences(int colour) override;

  VMField<javax::microedition::io::SocketConnection> connection;
  uint8_t closed;
  VMField<java::io::DataOutputStream> output;
  VMField<java::io::DataInputStream> input;
  VMField<java::lang::String> url;
  VMField<TqCanvas> canvas;
  VMField<java::util::Vector> outgoing;

 private:
  void runConnection();
  void open();
  void readLoop();
  void runSender();
  // Writes every message queued so far, oldest first.
  void sendQueued();
  void waitForMessages();
};

}  // namespace tq
