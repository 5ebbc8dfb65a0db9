// System.out and System.err: one PrintStream over the console, and the
// uncaught-exception report written through it.

#include <gtest/gtest.h>

#include <string>

#include "IoTestSupport.h"
#include "VMTestEnv.h"
#include "com_ravelstone_brume_cldc_io_ConsoleOutputStream.h"
#include "java_io_PrintStream.h"
#include "java_lang_IllegalArgumentException.h"
#include "java_lang_NullPointerException.h"
#include "java_lang_System.h"

using java::lang::System;
using namespace io_test;

namespace {

TEST(SystemOut, OutAndErrAreOnePrintStreamOverTheConsole) {
  VMTestEnv::start();
  System::_VM_clinitCheck();
  ASSERT_TRUE(System::out);
  EXPECT_EQ(System::out.get(), System::err.get());
  EXPECT_EQ(System::out->out->_VM_getClass(), com::ravelstone::brume::cldc::io::ConsoleOutputStream::_VM_class);

  StdoutCapture capture;
  System::out->println(jstr(u"\u00e9"));  // flushed at the line feed
  System::err->print(jstr(u"x"));
  EXPECT_EQ(toHex(capture.written()), "c3a90a");
  System::err->println();
  EXPECT_EQ(toHex(capture.written()), "c3a90a780a");
}

// The report goes through System.err: here a stream that records it.
TEST(SystemOut, PrintStackTraceWritesTwoLinesToSystemErr) {
  VMTestEnv::start();
  System::_VM_clinitCheck();
  VMPtr<test::io::RecordingOutputStream> recorder = test::io::RecordingOutputStream::_VM_new();
  recorder->_VM_init();
  VMPtr<java::io::PrintStream> err = java::io::PrintStream::_VM_new();
  err->_VM_init(recorder);
  System::err = err;

  VMPtr<java::lang::IllegalArgumentException> withMessage = java::lang::IllegalArgumentException::_VM_new();
  withMessage->_VM_init(jstr(u"key can't be null \u00e9"));
  withMessage->printStackTrace();
  VMPtr<java::lang::NullPointerException> bare = java::lang::NullPointerException::_VM_new();
  bare->_VM_init();
  bare->printStackTrace();
  EXPECT_EQ(std::string(recorder->data.begin(), recorder->data.end()),
            "Exception java.lang.IllegalArgumentException: key can't be null \xC3\xA9\n"
            "    at <unknown>\n"
            "Exception java.lang.NullPointerException\n"
            "    at <unknown>\n");
}

}  // namespace
