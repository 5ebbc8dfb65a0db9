// The byte streams: the generic loops and argument checks of InputStream
// and OutputStream, and the in-memory streams over byte arrays.

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "IoTestSupport.h"
#include "VMTestEnv.h"
#include "VMThrow.h"
#include "java_io_ByteArrayInputStream.h"
#include "java_io_ByteArrayOutputStream.h"
#include "java_io_IOException.h"
#include "java_lang_ArrayIndexOutOfBoundsException.h"
#include "java_lang_IllegalArgumentException.h"
#include "java_lang_IndexOutOfBoundsException.h"
#include "java_lang_NullPointerException.h"
#include "java_lang_RuntimeException.h"

using java::io::ByteArrayInputStream;
using java::io::ByteArrayOutputStream;
using java::io::InputStream;
using java::io::IOException;
using java::io::OutputStream;
using java::lang::ArrayIndexOutOfBoundsException;
using java::lang::IndexOutOfBoundsException;
using java::lang::NullPointerException;
using test::io::ScriptedInputStream;
using namespace io_test;

namespace test::io {

// Records the values OutputStream's array loop hands to write(int).
class IntSink : public java::io::OutputStream {
  VM_CLASS(IntSink, java::io::OutputStream)

 public:
  using java::io::OutputStream::write;
  void write(int32_t b) override { received.push_back(b); }
  std::vector<int32_t> received;
};

}  // namespace test::io

VM_REGISTER_CLASS(test::io::IntSink, "test.io.IntSink", "java.io.OutputStream", 0);

namespace {

VMPtr<ScriptedInputStream> scripted(std::vector<uint8_t> content) {
  VMPtr<ScriptedInputStream> s = ScriptedInputStream::_VM_new();
  s->_VM_init(std::move(content));
  return s;
}

VMPtr<ByteArrayInputStream> over(const VMPtr<Bytes>& b) {
  VMPtr<ByteArrayInputStream> s = ByteArrayInputStream::_VM_new();
  s->_VM_init(b);
  return s;
}

VMPtr<ByteArrayOutputStream> collector(int32_t size) {
  VMPtr<ByteArrayOutputStream> s = ByteArrayOutputStream::_VM_new();
  s->_VM_init(size);
  return s;
}

TEST(InputStreamBase, ArrayReadLoopsOverReadAndStopsAtTheEnd) {
  VMTestEnv::start();
  VMPtr<ScriptedInputStream> in = scripted({1, 2, 0xFF});
  VMPtr<Bytes> b = bytes({9, 9, 9, 9, 9, 9});
  EXPECT_EQ(in->read(b, 1, 5), 3);
  EXPECT_EQ(values(b), (std::vector<uint8_t>{9, 1, 2, 0xFF, 9, 9}));
  EXPECT_EQ(in->read(b, 0, 0), 0);  // no read() for an empty range
  EXPECT_EQ(in->read(b), -1);       // read(b) reaches the three-argument form
  EXPECT_EQ(in->reads, 5);
}

TEST(InputStreamBase, AnIOExceptionAfterTheFirstByteEndsTheReadQuietly) {
  VMTestEnv::start();
  VMPtr<ScriptedInputStream> in = scripted({1, 2, 3, 4, 5});
  in->failAt = 1;
  VMPtr<Bytes> b = Bytes::create(5);
  EXPECT_EQ(in->read(b, 0, 5), 1);
  EXPECT_EQ(b->at(0), 1);

  VMPtr<ScriptedInputStream> failsFirst = scripted({1, 2});
  failsFirst->failAt = 0;
  EXPECT_EQ(thrownMessage<IOException>([&] { failsFirst->read(b, 0, 5); }), "scripted failure");
}

TEST(InputStreamBase, SkipCountsTheBytesItCouldRead) {
  VMTestEnv::start();
  VMPtr<ScriptedInputStream> in = scripted({1, 2, 3});
  EXPECT_EQ(in->skip(-4), 0);
  EXPECT_EQ(in->skip(0), 0);
  EXPECT_EQ(in->reads, 0);
  EXPECT_EQ(in->skip(10), 3);
  EXPECT_EQ(in->reads, 4);  // three bytes and the end
}

TEST(InputStreamBase, MarkAndResetAreNotSupported) {
  VMTestEnv::start();
  VMPtr<ScriptedInputStream> in = scripted({1});
  in->mark(10);
  EXPECT_FALSE(in->markSupported());
  EXPECT_EQ(in->available(), 0);
  EXPECT_EQ(thrownMessage<IOException>([&] { in->reset(); }), "mark/reset not supported");
  in->close();
  EXPECT_EQ(in->read(), 1);  // close does nothing in the base
}

TEST(OutputStreamBase, ArrayWritePassesEachByteAsItsSignedValue) {
  VMTestEnv::start();
  VMPtr<test::io::IntSink> sink = test::io::IntSink::_VM_new();
  sink->_VM_init();
  VMPtr<Bytes> b = bytes({0x00, 0x7F, 0x80, 0xFF, 0x41});
  sink->write(b, 1, 3);
  sink->write(b);
  EXPECT_EQ(sink->received, (std::vector<int32_t>{127, -128, -1, 0, 127, -128, -1, 65}));
  sink->flush();
  sink->close();
}

// The argument checks are the same for the four array forms; a failing
// call changes nothing.
TEST(ByteStreams, ArrayRangesAreCheckedBeforeAnythingHappens) {
  VMTestEnv::start();
  struct Case {
    int32_t off;
    int32_t len;
    bool valid;
  };
  const Case cases[] = {
      {0, 0, true},          {0, 8, true},        {8, 0, true},         {3, 5, true},
      {-1, 1, false},        {0, -1, false},      {9, 0, false},        {4, 5, false},
      {1, INT_MAX, false},   {INT_MAX, 1, false}, {INT_MIN, 0, false},  {0, INT_MIN, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.off) + ", " + std::to_string(c.len));
    VMPtr<Bytes> b = Bytes::create(8);

    VMPtr<ScriptedInputStream> generic = scripted({1, 2, 3, 4, 5, 6, 7, 8, 9});
    VMPtr<ByteArrayInputStream> memory = over(bytes({1, 2, 3, 4, 5, 6, 7, 8, 9}));
    VMPtr<test::io::IntSink> sink = test::io::IntSink::_VM_new();
    sink->_VM_init();
    VMPtr<ByteArrayOutputStream> out = collector(4);

    if (c.valid) {
      EXPECT_EQ(generic->read(b, c.off, c.len), c.len);
      EXPECT_EQ(memory->read(b, c.off, c.len), c.len);
      sink->write(b, c.off, c.len);
      out->write(b, c.off, c.len);
      EXPECT_EQ(out->size(), c.len);
      continue;
    }
    thrownMessage<IndexOutOfBoundsException>([&] { generic->read(b, c.off, c.len); });
    thrownMessage<IndexOutOfBoundsException>([&] { memory->read(b, c.off, c.len); });
    thrownMessage<IndexOutOfBoundsException>([&] { sink->write(b, c.off, c.len); });
    thrownMessage<IndexOutOfBoundsException>([&] { out->write(b, c.off, c.len); });
    EXPECT_EQ(generic->reads, 0);
    EXPECT_EQ(memory->pos, 0);
    EXPECT_TRUE(sink->received.empty());
    EXPECT_EQ(out->size(), 0);
    EXPECT_EQ(values(b), std::vector<uint8_t>(8, 0));
  }

  VMPtr<Bytes> none;
  VMPtr<ScriptedInputStream> generic = scripted({1});
  VMPtr<ByteArrayOutputStream> out = collector(4);
  EXPECT_EQ(thrownMessage<NullPointerException>([&] { generic->read(none, 0, 0); }), "<null>");
  EXPECT_EQ(thrownMessage<NullPointerException>([&] { over(bytes({1}))->read(none, 0, 0); }), "<null>");
  EXPECT_EQ(thrownMessage<NullPointerException>([&] { out->write(none, 0, 0); }), "<null>");
}

TEST(ByteArrayInputStream, ReadsTheSliceAndResetsToTheMark) {
  VMTestEnv::start();
  VMPtr<Bytes> data = bytes({0, 1, 2, 3, 4, 5, 6, 7, 8, 0xF9});
  VMPtr<ByteArrayInputStream> in = ByteArrayInputStream::_VM_new();
  in->_VM_init(data, 2, 100);
  EXPECT_EQ(in->pos, 2);
  EXPECT_EQ(in->available(), 8);
  EXPECT_TRUE(in->markSupported());
  EXPECT_EQ(in->read(), 2);
  in->reset();  // the mark starts at 0, not at the offset
  EXPECT_EQ(in->read(), 0);

  in->skip(1);
  in->mark(0);
  VMPtr<Bytes> b = Bytes::create(4);
  EXPECT_EQ(in->read(b, 0, 4), 4);
  EXPECT_EQ(values(b), (std::vector<uint8_t>{2, 3, 4, 5}));
  in->reset();
  EXPECT_EQ(in->read(), 2);

  EXPECT_EQ(in->skip(-5), 0);
  EXPECT_EQ(in->pos, 3);
  EXPECT_EQ(in->skip(100), 7);
  EXPECT_EQ(in->read(b, 0, 0), -1);  // nothing left: -1 even for no bytes
  EXPECT_EQ(in->read(), -1);
  in->close();  // stays readable
  in->reset();
  EXPECT_EQ(in->read(b, 0, 0), 0);
  EXPECT_EQ(in->read(b, 1, 3), 3);

  VMPtr<ByteArrayInputStream> tail = ByteArrayInputStream::_VM_new();
  tail->_VM_init(data, 8, 2);
  EXPECT_EQ(tail->read(b, 0, 4), 2);
  EXPECT_EQ(b->at(1), -7);
  EXPECT_EQ(tail->read(), -1);
}

TEST(ByteArrayInputStream, AnOffsetOutsideTheArrayFailsInTheCheckedAccess) {
  VMTestEnv::start();
  VMPtr<Bytes> data = bytes({1, 2, 3});
  VMPtr<Bytes> b = Bytes::create(4);
  VMPtr<ByteArrayInputStream> negative = ByteArrayInputStream::_VM_new();
  negative->_VM_init(data, -2, 4);
  thrownMessage<ArrayIndexOutOfBoundsException>([&] { negative->read(); });
  thrownMessage<ArrayIndexOutOfBoundsException>([&] { negative->read(b, 0, 4); });
  EXPECT_EQ(negative->pos, -2);
  EXPECT_EQ(values(b), std::vector<uint8_t>(4, 0));

  VMPtr<ByteArrayInputStream> past = ByteArrayInputStream::_VM_new();
  past->_VM_init(data, 5, 1);  // count = min(6, 3): nothing to read
  EXPECT_EQ(past->read(), -1);
  EXPECT_EQ(past->available(), -2);
}

TEST(ByteArrayOutputStream, GrowsToDoubleOrToWhatIsNeeded) {
  VMTestEnv::start();
  VMPtr<ByteArrayOutputStream> out = collector(0);
  std::vector<int32_t> lengths;
  for (int i = 0; i < 5; ++i) {
    out->write(7 + i);
    lengths.push_back(out->buf->length);
  }
  EXPECT_EQ(lengths, (std::vector<int32_t>{1, 2, 4, 4, 8}));

  VMPtr<ByteArrayOutputStream> big = ByteArrayOutputStream::_VM_new();
  big->_VM_init();
  EXPECT_EQ(big->buf->length, 32);
  big->write(bytes(std::vector<uint8_t>(10, 1)), 0, 10);
  big->write(Bytes::create(100), 0, 100);
  EXPECT_EQ(big->buf->length, 110);
  EXPECT_EQ(big->size(), 110);

  EXPECT_EQ(thrownMessage<java::lang::IllegalArgumentException>([] { collector(-1); }), "Negative initial size");
}

TEST(ByteArrayOutputStream, KeepsItsDataAfterCloseButRefusesSingleBytes) {
  VMTestEnv::start();
  VMPtr<ByteArrayOutputStream> out = collector(4);
  out->write(0x41);
  out->write(bytes({0xC3, 0xA9}), 0, 2);
  EXPECT_EQ(text(out->toString()), u"A\u00e9");
  out->reset();
  EXPECT_EQ(out->size(), 0);
  out->write(bytes({1, 2, 3}));
  out->close();
  const char* closedMessage = "Writing to closed ByteArrayOutputStream";
  EXPECT_EQ(thrownMessage<java::lang::RuntimeException>([&] { out->write(4); }), closedMessage);
  EXPECT_EQ(thrownMessage<java::lang::RuntimeException>([&] { out->reset(); }), closedMessage);
  EXPECT_EQ(out->size(), 3);

  // Not exactly full: a copy.
  VMPtr<Bytes> copy = out->toByteArray();
  EXPECT_NE(copy.get(), out->buf.get());
  EXPECT_EQ(values(copy), (std::vector<uint8_t>{1, 2, 3}));
  // The array form still appends after close; exactly full: the buffer itself.
  out->write(bytes({4}), 0, 1);
  EXPECT_EQ(out->toByteArray().get(), out->buf.get());
  EXPECT_EQ(values(out->toByteArray()), (std::vector<uint8_t>{1, 2, 3, 4}));

  // Open and exactly full: still a copy.
  VMPtr<ByteArrayOutputStream> open = collector(1);
  open->write(9);
  EXPECT_NE(open->toByteArray().get(), open->buf.get());
}

}  // namespace
