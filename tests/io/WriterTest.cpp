// Character output: the Writer base, the UTF-8 OutputStreamWriter, the
// PrintStream family with its error flag, and the console stream.

#include <gtest/gtest.h>

#include <stdio_ext.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include <chrono>

#include "HALConsole.h"
#include "IoTestSupport.h"
#include "VMCollector.h"
#include "VMTestEnv.h"
#include "VMThread.h"
#include "com_ravelstone_brume_cldc_io_ConsoleOutputStream.h"
#include "java_io_IOException.h"
#include "java_io_OutputStreamWriter.h"
#include "java_io_PrintStream.h"
#include "java_io_Writer.h"
#include "java_lang_IndexOutOfBoundsException.h"
#include "java_lang_Integer.h"
#include "java_lang_NullPointerException.h"
#include "java_lang_Runnable.h"
#include "java_lang_Thread.h"
#include "java_lang_StringIndexOutOfBoundsException.h"

using com::ravelstone::brume::cldc::io::ConsoleOutputStream;
using java::io::IOException;
using java::io::OutputStreamWriter;
using java::io::PrintStream;
using java::lang::NullPointerException;
using java::lang::Object;
using test::io::RecordingOutputStream;
using namespace io_test;

namespace test::io {

// A writer that records the pieces the Writer base hands on.
class PieceWriter : public java::io::Writer {
  VM_CLASS(PieceWriter, java::io::Writer)

 public:
  using java::io::Writer::write;
  void write(VMPtr<Chars> cbuf, int32_t off, int32_t len) override {
    pieces.push_back(len);
    text.append(cbuf->elements() + off, static_cast<size_t>(len));
  }
  void flush() override {}
  void close() override {}

  std::vector<int32_t> pieces;
  std::u16string text;
};

// A print stream that gives the global lock away after printing a String,
// so that other threads run between the text and the line feed of println.
class YieldingPrintStream : public java::io::PrintStream {
  VM_CLASS(YieldingPrintStream, java::io::PrintStream)

 public:
  using java::io::PrintStream::print;
  void print(VMPtr<java::lang::String> s) override {
    java::io::PrintStream::print(s);
    VMThread::yield();
  }
};

// Prints its line 20 times.
class LinePrinter : public virtual java::lang::Object, public virtual java::lang::Runnable {
  VM_CLASS(LinePrinter, java::lang::Object)

 public:
  void run() override {
    for (int i = 0; i < 20; ++i) printer->println(VMPtr<java::lang::String>(line));
  }
  void _VM_markReferences(int colour) override {
    _VM_markFields(colour, printer, line);
    Object::_VM_markReferences(colour);
  }

  VMField<java::io::PrintStream> printer;
  VMField<java::lang::String> line;
};

}  // namespace test::io

VM_REGISTER_CLASS(test::io::PieceWriter, "test.io.PieceWriter", "java.io.Writer", 0);
VM_REGISTER_CLASS(test::io::YieldingPrintStream, "test.io.YieldingPrintStream", "java.io.PrintStream", 0);
VM_REGISTER_CLASS(test::io::LinePrinter, "test.io.LinePrinter", "java.lang.Object", 0);
VM_IMPLEMENTS(test::io::LinePrinter, "java.lang.Runnable");

namespace {

VMPtr<RecordingOutputStream> recorder() {
  VMPtr<RecordingOutputStream> r = RecordingOutputStream::_VM_new();
  r->_VM_init();
  return r;
}

VMPtr<OutputStreamWriter> writerOver(const VMPtr<RecordingOutputStream>& out) {
  VMPtr<OutputStreamWriter> w = OutputStreamWriter::_VM_new();
  w->_VM_init(out);
  return w;
}

VMPtr<PrintStream> printerOver(const VMPtr<java::io::OutputStream>& out) {
  VMPtr<PrintStream> p = PrintStream::_VM_new();
  p->_VM_init(out);
  return p;
}

std::string asText(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

TEST(Writer, StagesStringsInPiecesOf1024) {
  VMTestEnv::start();
  VMPtr<test::io::PieceWriter> w = test::io::PieceWriter::_VM_new();
  w->_VM_init();
  EXPECT_EQ(w->lock.get(), static_cast<Object*>(w.get()));
  std::u16string long_text;
  for (int i = 0; i < 2500; ++i) long_text += static_cast<char16_t>(u'a' + i % 26);
  w->write(jstr(long_text));
  EXPECT_EQ(w->pieces, (std::vector<int32_t>{1024, 1024, 452}));
  EXPECT_EQ(w->text, long_text);
  EXPECT_EQ(w->writeBuffer->length, 1024);

  w->pieces.clear();
  w->text.clear();
  w->write(0x12345);  // the low 16 bits
  w->write(jstr(u"hello"), 1, 3);
  w->write(jstr(u"never"), 2, 0);
  VMPtr<Chars> chars = Chars::create(2);
  chars->at(0) = u'x';
  chars->at(1) = u'y';
  w->write(chars);
  EXPECT_EQ(w->text, u"\u2345ellxy");
  EXPECT_EQ(w->pieces, (std::vector<int32_t>{1, 3, 2}));

  thrownMessage<NullPointerException>([&] { w->write(VMPtr<java::lang::String>(), 0, 1); });
  thrownMessage<java::lang::StringIndexOutOfBoundsException>([&] { w->write(jstr(u"abc"), 2, 5); });
}

TEST(OutputStreamWriter, EncodesUTF8InWholeCharactersPerPass) {
  VMTestEnv::start();
  VMPtr<RecordingOutputStream> out = recorder();
  VMPtr<OutputStreamWriter> w = writerOver(out);
  w->write(jstr(std::u16string(1000, u'\u4e00')));
  EXPECT_EQ(out->data.size(), 3000u);
  EXPECT_EQ(out->arrayWrites, (std::vector<int32_t>{2046, 954}));

  out->data.clear();
  out->arrayWrites.clear();
  const std::u16string mixed(u"A\0\u00e9\u07ff\u0800\U0001F600", 7);
  w->write(jstr(mixed));
  EXPECT_EQ(toHex(out->data), "4100c3a9dfbfe0a080eda0bdedb880");
  out->data.clear();
  w->write(0);
  w->write(0xE9);
  EXPECT_EQ(toHex(out->data), "00c3a9");
  EXPECT_EQ(out->flushes, 0);
  w->flush();
  EXPECT_EQ(out->flushes, 1);
}

TEST(OutputStreamWriter, RangesAndTheClosedState) {
  VMTestEnv::start();
  VMPtr<RecordingOutputStream> out = recorder();
  VMPtr<OutputStreamWriter> w = writerOver(out);
  VMPtr<Chars> cbuf = Chars::create(4);
  thrownMessage<java::lang::IndexOutOfBoundsException>([&] { w->write(cbuf, 2, -1); });
  thrownMessage<java::lang::IndexOutOfBoundsException>([&] { w->write(cbuf, -1, 1); });
  thrownMessage<java::lang::IndexOutOfBoundsException>([&] { w->write(cbuf, 3, 2); });
  thrownMessage<java::lang::IndexOutOfBoundsException>([&] { w->write(jstr(u"abc"), 1, INT32_MAX); });
  w->write(cbuf, 0, 0);
  w->write(cbuf, 4, 0);
  EXPECT_TRUE(out->arrayWrites.empty());

  w->close();
  w->close();  // a second close does nothing
  EXPECT_EQ(out->closes, 1);
  EXPECT_EQ(w->out.get(), nullptr);
  const char* closed = "Stream closed";
  EXPECT_EQ(thrownMessage<IOException>([&] { w->write(cbuf, 0, 0); }), closed);  // before the range check
  EXPECT_EQ(thrownMessage<IOException>([&] { w->write(cbuf, 2, -1); }), closed);
  EXPECT_EQ(thrownMessage<IOException>([&] { w->write(65); }), closed);
  EXPECT_EQ(thrownMessage<IOException>([&] { w->write(jstr(u"x")); }), closed);
  EXPECT_EQ(thrownMessage<IOException>([&] { w->flush(); }), closed);

  thrownMessage<NullPointerException>([] { writerOver(VMPtr<RecordingOutputStream>()); });
}

TEST(PrintStream, PrintsTextFormsOfEveryKind) {
  VMTestEnv::start();
  VMPtr<RecordingOutputStream> out = recorder();
  VMPtr<PrintStream> p = printerOver(out);
  p->print(VMPtr<java::lang::String>());
  p->print(VMPtr<Object>());
  p->print(u'\0');
  p->println(jstr(u"\u00e9"));
  p->println(42);
  p->println(int64_t{-9000000000});
  p->println(uint8_t{1});
  p->println(u'c');
  p->println(1.5);
  p->println(0.25f);
  VMPtr<Chars> chars = Chars::create(2);
  chars->at(0) = u'o';
  chars->at(1) = u'k';
  p->println(chars);
  VMPtr<java::lang::Integer> seven = java::lang::Integer::_VM_new();
  seven->_VM_init(7);
  p->println(VMPtr<Object>(seven));
  p->println("caf\xC3\xA9");  // a UTF-8 literal passes byte for byte
  p->println();
  EXPECT_EQ(asText(out->data),
            std::string("nullnull") + '\0' + "\xC3\xA9\n42\n-9000000000\ntrue\nc\n1.5\n0.25\nok\n7\ncaf\xC3\xA9\n\n");
  EXPECT_EQ(out->flushes, 0);  // printing never flushes
  EXPECT_FALSE(p->checkError());
  EXPECT_EQ(out->flushes, 1);

  out->data.clear();
  p->write(0x1FF);
  p->write(bytes({1, 2, 3}), 1, 2);
  EXPECT_EQ(toHex(out->data), "ff0203");
}

TEST(PrintStream, FailuresSetTheErrorFlagAndCloseMakesPrintsThrow) {
  VMTestEnv::start();
  VMPtr<RecordingOutputStream> out = recorder();
  VMPtr<PrintStream> p = printerOver(out);
  out->failing = true;
  p->println(42);  // nothing is thrown
  EXPECT_TRUE(p->trouble);
  out->failing = false;
  EXPECT_TRUE(p->checkError());

  VMPtr<PrintStream> q = printerOver(recorder());
  q->setError();
  q->close();
  q->close();
  EXPECT_TRUE(q->checkError());  // no flush once closed, no exception
  const std::vector<std::pair<const char*, std::function<void()>>> calls = {
      {"print(String)", [&] { q->print(jstr(u"x")); }},
      {"print(literal)", [&] { q->print("x"); }},
      {"println(int)", [&] { q->println(1); }},
      {"println()", [&] { q->println(); }},
      {"write(int)", [&] { q->write(1); }},
      {"flush()", [&] { q->flush(); }},
  };
  for (const auto& [name, call] : calls) {
    SCOPED_TRACE(name);
    EXPECT_EQ(thrownMessage<NullPointerException>(call), "<null>");
  }

  // A failing close is recorded too.
  VMPtr<RecordingOutputStream> failing = recorder();
  VMPtr<PrintStream> r = printerOver(failing);
  failing->failing = true;
  r->close();
  EXPECT_TRUE(r->trouble);
  thrownMessage<NullPointerException>([] { printerOver(VMPtr<java::io::OutputStream>()); });
}

// A started thread that prints `line` 20 times through `p`.
VMPtr<java::lang::Thread> startPrinter(const VMPtr<PrintStream>& p, const char* line) {
  VMPtr<test::io::LinePrinter> task = test::io::LinePrinter::_VM_new();
  task->_VM_init();
  task->printer = p;
  task->line = jstr(line);
  VMPtr<java::lang::Thread> t = java::lang::Thread::_VM_new();
  t->_VM_init(VMPtr<java::lang::Runnable>(task));
  t->start();
  return t;
}

// println holds the stream's monitor across the text and the line feed:
// lines of two threads never mix, although the stream lets the other
// thread run between them.
TEST(PrintStream, LinesOfDifferentThreadsDoNotInterleave) {
  VMTestEnv::start();
  VMPtr<RecordingOutputStream> out = recorder();
  VMPtr<test::io::YieldingPrintStream> p = test::io::YieldingPrintStream::_VM_new();
  p->_VM_init(out);
  VMPtr<java::lang::Thread> first = startPrinter(p, "AAAAAAAA");
  VMPtr<java::lang::Thread> second = startPrinter(p, "BBBBBBBB");
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while ((first->isAlive() || second->isAlive()) && std::chrono::steady_clock::now() < deadline) {
    VMThread::yield();
  }
  ASSERT_FALSE(first->isAlive() || second->isAlive());
  const std::string printed = asText(out->data);
  size_t lines = 0;
  for (size_t start = 0; start < printed.size(); start += 9, ++lines) {
    const std::string line = printed.substr(start, 9);
    EXPECT_TRUE(line == "AAAAAAAA\n" || line == "BBBBBBBB\n") << "line " << lines << ": " << line;
  }
  EXPECT_EQ(lines, 40u);
  first = nullptr;
  second = nullptr;
  _VM_collect();  // deletes the ended threads' records
}

TEST(ConsoleOutputStream, SendsBytesToStandardOutputAndFlushesAtLineFeeds) {
  VMTestEnv::start();
  VMPtr<ConsoleOutputStream> console = ConsoleOutputStream::_VM_new();
  console->_VM_init();
  VMPtr<PrintStream> p = printerOver(console);
  StdoutCapture capture;
  p->print(jstr(u"ab"));
  EXPECT_TRUE(capture.written().empty());  // still in the stdio buffer
  p->println(jstr(u"\u00e9"));
  EXPECT_EQ(toHex(capture.written()), "6162c3a90a");
  console->write(bytes({'x', '\n'}));
  EXPECT_EQ(asText(capture.written()), "ab\xC3\xA9\nx\n");
}

TEST(ConsoleOutputStream, AFailingStandardOutputIsReportedByThePlatformOnly) {
  VMTestEnv::start();
  std::fflush(stdout);
  const int saved = dup(STDOUT_FILENO);
  const int full = open("/dev/full", O_WRONLY);
  ASSERT_GE(full, 0);
  dup2(full, STDOUT_FILENO);
  close(full);
  EXPECT_EQ(HAL_writeConsoleChar('a'), 0);
  EXPECT_EQ(HAL_writeConsoleChar('\n'), 3);  // the flush fails
  VMPtr<ConsoleOutputStream> console = ConsoleOutputStream::_VM_new();
  console->_VM_init();
  console->write('\n');  // lost, not thrown
  __fpurge(stdout);
  std::clearerr(stdout);
  dup2(saved, STDOUT_FILENO);
  close(saved);
}

}  // namespace
