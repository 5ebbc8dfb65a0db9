// FastInputStream over a scripted stream: what each read takes from the
// buffer and when the wrapped stream is asked again, the end, skip, drain,
// close, failures of the wrapped stream and of the target, and a wrapped
// stream that keeps answering 0 while another thread must run.

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <vector>

#include "JavaTask.h"
#include "JavaTestSupport.h"
#include "VMTestEnv.h"
#include "VMThrow.h"
#include "java_io_ByteArrayOutputStream.h"
#include "java_io_DataInputStream.h"
#include "java_io_IOException.h"
#include "java_lang_IndexOutOfBoundsException.h"
#include "java_lang_RuntimeException.h"
#include "tq_io_FastInputStream.h"

using tq::io::FastInputStream;
using Bytes = VMArray<int8_t>;

namespace test::engineutil {

// Each bulk read answers the next scripted count of bytes (bytes 0, 1, 2
// ... across the whole stream), -1 at the end of the script; a count of
// -2 throws a RuntimeException instead.
class ScriptedStream : public java::io::InputStream {
  VM_CLASS(ScriptedStream, java::io::InputStream)

 public:
  int32_t read() override { return -1; }  // the buffered stream reads in bulk only
  int32_t read(VMPtr<Bytes> b, int32_t off, int32_t len) override {
    ++reads;
    if (next >= script.size()) return -1;
    const int32_t n = script[next++];
    if (n == -2) _VM_throwNew<java::lang::RuntimeException>("wrapped read failed");
    if (n == 0 && onZero) onZero();
    for (int32_t i = 0; i < n && i < len; ++i) b->at(off + i) = static_cast<int8_t>(produced++);
    return n < len ? n : len;
  }
  void close() override { ++closes; }

  std::vector<int32_t> script;
  size_t next = 0;
  int32_t produced = 0;
  int32_t reads = 0;
  int32_t closes = 0;
  std::function<void()> onZero;
};

// An output stream whose writes fail.
class FailingOutput : public java::io::OutputStream {
  VM_CLASS(FailingOutput, java::io::OutputStream)

 public:
  void write(int32_t) override { _VM_throwNew<java::io::IOException>("full"); }
};

}  // namespace test::engineutil

VM_REGISTER_CLASS(test::engineutil::ScriptedStream, "test.engineutil.ScriptedStream", "java.io.InputStream", 0);
VM_REGISTER_CLASS(test::engineutil::FailingOutput, "test.engineutil.FailingOutput", "java.io.OutputStream", 0);

namespace {

using test::engineutil::ScriptedStream;

struct Fixture {
  VMPtr<ScriptedStream> wrapped;
  VMPtr<FastInputStream> in;
};

Fixture over(std::vector<int32_t> script) {
  Fixture f;
  f.wrapped = ScriptedStream::_VM_new();
  f.wrapped->_VM_init();
  f.wrapped->script = std::move(script);
  f.in = FastInputStream::_VM_new();
  f.in->_VM_init(f.wrapped);
  return f;
}

TEST(FastInputStream, SingleBytesThenTheEndForEver) {
  VMTestEnv::start();
  Fixture f = over({3});
  EXPECT_EQ(f.in->available(), 0);
  EXPECT_EQ(f.in->read(), 0);
  EXPECT_EQ(f.in->available(), 2);
  EXPECT_EQ(f.in->read(), 1);
  EXPECT_EQ(f.in->available(), 1);
  EXPECT_EQ(f.in->read(), 2);
  EXPECT_EQ(f.in->available(), 0);
  EXPECT_EQ(f.in->read(), -1);
  VMPtr<Bytes> b = Bytes::create(4);
  EXPECT_EQ(f.in->read(b, 0, 4), -1);
  EXPECT_EQ(f.in->read(), -1);
  EXPECT_EQ(f.wrapped->reads, 2);  // the end is asked for once
}

TEST(FastInputStream, ArrayReadsServeTheBufferBeforeRefilling) {
  VMTestEnv::start();
  Fixture f = over({4, 6});
  VMPtr<Bytes> b = Bytes::create(10);
  EXPECT_EQ(f.in->read(b, 0, 0), 0);  // an empty buffer is refilled first
  EXPECT_EQ(f.wrapped->reads, 1);
  EXPECT_EQ(f.in->read(b, 0, 0), 0);
  EXPECT_EQ(f.in->read(b, 0, 10), 4);
  EXPECT_EQ(f.wrapped->reads, 1);
  EXPECT_EQ(f.in->read(b, 2, 8), 6);
  EXPECT_EQ(f.wrapped->reads, 2);
  EXPECT_EQ(b->at(2), 4);
  EXPECT_EQ(b->at(7), 9);
  EXPECT_EQ(java_test::thrownMessage<java::lang::IndexOutOfBoundsException>([&] { f.in->read(b, 8, 3); }), "<null>");
}

TEST(FastInputStream, DataReadsAcrossARefill) {
  VMTestEnv::start();
  Fixture f = over({1022, 1024});
  VMPtr<java::io::DataInputStream> data = java::io::DataInputStream::_VM_new();
  data->_VM_init(f.in);
  EXPECT_EQ(data->skipBytes(1020), 1020);
  // Bytes 1020 .. 1023 (low bytes fc fd fe ff) straddle the two fills.
  EXPECT_EQ(static_cast<uint32_t>(data->readInt()), 0xFCFDFEFFu);
  EXPECT_EQ(f.in->available(), 1022);
}

TEST(FastInputStream, SkipStopsAtTheEnd) {
  VMTestEnv::start();
  Fixture f = over({1024, 476});
  EXPECT_EQ(f.in->skip(0), 0);
  EXPECT_EQ(f.in->skip(-5), 0);
  EXPECT_EQ(f.in->skip(2000), 1500);
  EXPECT_EQ(f.in->read(), -1);
  EXPECT_EQ(f.in->skip(10), 0);
}

TEST(FastInputStream, MarkResetAndClose) {
  VMTestEnv::start();
  Fixture f = over({5});
  EXPECT_FALSE(f.in->markSupported());
  EXPECT_EQ(f.in->read(), 0);
  f.in->mark(10);
  EXPECT_EQ(f.in->read(), 1);
  f.in->reset();
  EXPECT_EQ(f.in->read(), 2);  // reset moves nothing back
  f.in->close();
  f.in->close();
  EXPECT_EQ(f.wrapped->closes, 1);
  VMPtr<Bytes> b = Bytes::create(4);
  VMPtr<java::io::ByteArrayOutputStream> out = java::io::ByteArrayOutputStream::_VM_new();
  out->_VM_init();
  const std::vector<std::function<void()>> reads = {
      [&] { f.in->read(); }, [&] { f.in->read(b, 0, 4); }, [&] { f.in->skip(3); }, [&] { f.in->drainTo(out); }};
  for (const auto& read : reads) {
    EXPECT_EQ(java_test::thrownMessage<java::io::IOException>(read), "InputStream closed");
  }
}

TEST(FastInputStream, AFailingWrappedReadLeavesTheStateAsItWas) {
  VMTestEnv::start();
  Fixture f = over({2, -2, 3});
  EXPECT_EQ(f.in->read(), 0);
  EXPECT_EQ(f.in->read(), 1);
  EXPECT_EQ(java_test::thrownMessage<java::lang::RuntimeException>([&] { f.in->read(); }), "wrapped read failed");
  EXPECT_EQ(f.in->available(), 0);
  EXPECT_EQ(f.in->read(), 2);
}

TEST(FastInputStream, DrainToHandsOverTheBuffer) {
  VMTestEnv::start();
  Fixture f = over({3, 2});
  EXPECT_EQ(f.in->read(), 0);
  VMPtr<test::engineutil::FailingOutput> failing = test::engineutil::FailingOutput::_VM_new();
  failing->_VM_init();
  EXPECT_EQ(java_test::thrownMessage<java::io::IOException>([&] { f.in->drainTo(failing); }), "full");
  EXPECT_EQ(f.in->available(), 2);  // still buffered

  VMPtr<java::io::ByteArrayOutputStream> out = java::io::ByteArrayOutputStream::_VM_new();
  out->_VM_init();
  EXPECT_EQ(f.in->drainTo(out), 2);
  EXPECT_EQ(f.in->drainTo(out), 2);
  EXPECT_EQ(f.in->drainTo(out), -1);
  VMPtr<Bytes> all = out->toByteArray();
  ASSERT_EQ(all->length, 4);
  EXPECT_EQ(all->at(0), 1);
  EXPECT_EQ(all->at(3), 4);
}

// A wrapped stream that answers 0 until another Java thread has run: the
// refill must give that thread the global lock, or it would never end.
TEST(FastInputStream, ZeroReadsYieldToOtherThreads) {
  VMTestEnv::start();
  std::atomic<bool> otherRan{false};
  Fixture f = over({});
  f.wrapped->onZero = [&] {
    if (otherRan) f.wrapped->script.push_back(7);
    f.wrapped->script.push_back(0);
  };
  f.wrapped->script.push_back(0);
  VMPtr<java::lang::Thread> other = java_test::startThread([&] { otherRan = true; });
  VMPtr<Bytes> b = Bytes::create(16);
  EXPECT_EQ(f.in->read(b, 0, 16), 7);
  EXPECT_TRUE(otherRan);
  EXPECT_TRUE(java_test::joinThread(other));
}

}  // namespace
