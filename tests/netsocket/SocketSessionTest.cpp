// The canvas's socket session over a scripted socket connection: what the
// sender writes, what the reader hands to the game, the end of the stream,
// and closing once.

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "FakeHttpConnection.h"
#include "FakeSocket.h"
#include "JavaTestSupport.h"
#include "NetCanvas.h"
#include "VMThrow.h"
#include "java_lang_IllegalArgumentException.h"
#include "java_lang_RuntimeException.h"

namespace net_test {
namespace {

using Session = tq::TqCanvas_TQC_SocketSession;

class SocketSession : public ::testing::Test {
 protected:
  void SetUp() override {
    startNetVM();
    canvas = makeNetCanvas().get();  // the canvas's static `instance` keeps it
  }
  // Every session and canvas thread ends and is joined.
  void TearDown() override { EXPECT_TRUE(finishNetCanvas(canvas)); }
  // Opens a session and waits until its connection is open (the sender
  // runs from then on).
  VMPtr<Session> open(const std::string& initialBytes = "") {
    FakeSocket::initialBytes = initialBytes;
    canvas->openSocket(jstring("host.example:4000"));
    VMPtr<Session> session = canvas->socketSession;
    EXPECT_TRUE(session);
    EXPECT_TRUE(waitUntil([&] { return !session->url; }));
    return session;
  }
  static VMPtr<VMArray<int8_t>> bytes(const std::string& text) {
    VMPtr<VMArray<int8_t>> a = VMArray<int8_t>::create(static_cast<int32_t>(text.size()));
    for (size_t i = 0; i < text.size(); ++i) a->at(static_cast<int32_t>(i)) = text[i];
    return a;
  }
  static std::vector<std::string>& sent() { return VMPtr<FakeSink>(VMPtr<FakeSocket>(FakeSocket::last)->sink)->log; }

  NetCanvas* canvas = nullptr;
};

TEST_F(SocketSession, TheSenderWritesEachMessageWholeAndInOrder) {
  VMPtr<Session> session = open();
  EXPECT_EQ(VMPtr<FakeSocket>(FakeSocket::last)->url, "socket://host.example:4000");

  VMPtr<VMArray<int8_t>> data = bytes("0123456789abcdefghij");
  EXPECT_EQ(canvas->socketSend(data, 2, 10), -1);
  ASSERT_TRUE(waitUntil([&] { return sent().size() == 2; }));
  EXPECT_EQ(sent(), (std::vector<std::string>{"write:23456789ab", "flush"}));

  // Queued back to back, before the sender looks again: both go out.
  EXPECT_EQ(canvas->socketSend(bytes("first"), 0, 5), -1);
  EXPECT_EQ(canvas->socketSend(bytes("xsecond"), 1, 6), -1);
  EXPECT_EQ(canvas->socketSend(bytes("nothing"), 3, 0), -1);
  ASSERT_TRUE(waitUntil([&] { return sent().size() == 6; }));
  EXPECT_EQ(sent(), (std::vector<std::string>{"write:23456789ab", "flush", "write:first", "flush", "write:second",
                                              "flush"}));
}

TEST_F(SocketSession, RangesAMessageCannotCarryAreRefused) {
  VMPtr<Session> session = open();
  VMPtr<VMArray<int8_t>> big = VMArray<int8_t>::create(32767 + 65535);
  struct Range {
    int32_t offset;
    int32_t length;
  };
  const Range refused[] = {{-1, 2}, {0, -1}, {15, 10}, {32768, 1}, {0, 65536}, {2147483647, 2}};
  for (const Range& r : refused) {
    SCOPED_TRACE(std::to_string(r.offset) + "," + std::to_string(r.length));
    java_test::thrownMessage<java::lang::IllegalArgumentException>(
        [&] { canvas->socketSend(r.offset == 15 ? bytes("0123456789abcdefghij") : big, r.offset, r.length); });
  }
  EXPECT_EQ(canvas->socketSend(big, 32767, 65535), -1);
  ASSERT_TRUE(waitUntil([&] { return sent().size() == 2; }));
  EXPECT_EQ(sent()[0].size(), 6u + 65535u);
}

TEST_F(SocketSession, TheReaderHandsOverWhatIsAvailableAndClosesAtTheEnd) {
  std::string piece(300, 0);
  for (size_t i = 0; i < piece.size(); ++i) piece[i] = static_cast<char>(i);
  std::vector<std::thread::id> threads;
  canvas->onSocket = [&] { threads.push_back(std::this_thread::get_id()); };
  VMPtr<Session> session = open(piece);
  ASSERT_TRUE(waitUntil([&] { return !canvas->socketCounts.empty(); }));
  EXPECT_EQ(canvas->socketCounts, std::vector<int32_t>{300});
  EXPECT_TRUE(canvas->socketBytes == piece);
  EXPECT_NE(threads[0], std::this_thread::get_id());

  VMPtr<FakeSocket> connection = FakeSocket::last;
  VMPtr<FakePipe>(connection->pipe)->push("more");
  ASSERT_TRUE(waitUntil([&] { return canvas->socketBytes.size() == 304; }));
  EXPECT_EQ(canvas->socketBytes.substr(300), "more");

  VMPtr<FakePipe>(connection->pipe)->end();
  ASSERT_TRUE(waitUntil([&] { return !canvas->socketSession; }));
  EXPECT_TRUE(session->closed);
  EXPECT_EQ(connection->closes, 1);
  EXPECT_TRUE(waitUntil([&] { return !session->isAlive(); }));
  EXPECT_EQ(canvas->socketSend(bytes("late"), 0, 4), 0);
}

TEST_F(SocketSession, AFailingGameHookClosesTheSession) {
  canvas->onSocket = [] { _VM_throwNew<java::lang::RuntimeException>(jstring("game failed")); };
  VMPtr<Session> session = open("x");
  ASSERT_TRUE(waitUntil([&] { return !canvas->socketSession; }));
  EXPECT_TRUE(session->closed);
  EXPECT_EQ(VMPtr<FakeSocket>(FakeSocket::last)->closes, 1);
}

TEST_F(SocketSession, CloseRunsOnceAndLeavesANewerSessionAlone) {
  VMPtr<Session> first = open();
  VMPtr<FakeSocket> firstConnection = FakeSocket::last;
  canvas->closeSocket();
  EXPECT_FALSE(canvas->socketSession);
  EXPECT_EQ(firstConnection->closes, 1);
  EXPECT_EQ(VMPtr<FakeSink>(firstConnection->sink)->log, std::vector<std::string>{"close"});
  EXPECT_EQ(canvas->socketSend(bytes("x"), 0, 1), 0);

  // A second close only drops the session from the canvas.
  canvas->socketSession = first;
  EXPECT_EQ(canvas->socketSend(bytes("x"), 0, 1), -1);  // present but closed: nothing queued
  first->close();
  EXPECT_FALSE(canvas->socketSession);
  EXPECT_EQ(firstConnection->closes, 1);
  EXPECT_TRUE(VMPtr<java::util::Vector>(first->outgoing)->isEmpty());

  // The next session opens once the first one's thread has let go; a late
  // close of the first one does not drop it.
  VMPtr<Session> second = open();
  EXPECT_NE(VMPtr<FakeSocket>(FakeSocket::last).get(), firstConnection.get());
  first->close();
  EXPECT_EQ(VMPtr<Session>(canvas->socketSession).get(), second.get());
  canvas->closeSocket();
  EXPECT_TRUE(waitUntil([&] { return !first->isAlive() && !second->isAlive(); }));
}

TEST_F(SocketSession, OneSessionIsOpenAtATime) {
  VMPtr<Session> first = open();
  VMPtr<Session> other = Session::_VM_new();
  other->_VM_init();
  other->canvas = VMPtr<tq::TqCanvas>(canvas);
  other->url = jstring("socket://other.example:1");
  other->start();
  java::lang::Thread::sleep(200);
  EXPECT_TRUE(other->url);  // its connection thread waits for the first session to end
  canvas->closeSocket();
  ASSERT_TRUE(waitUntil([&] { return !other->url; }));
  EXPECT_EQ(VMPtr<FakeSocket>(FakeSocket::last)->url, "socket://other.example:1");
  other->close();
  EXPECT_TRUE(waitUntil([&] { return !first->isAlive() && !other->isAlive(); }));
}

}  // namespace
}  // namespace net_test
