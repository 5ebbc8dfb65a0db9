#pragma once

// Support for the tests of monitors and Java threads: a small VM whose main
// thread holds the global lock, a Runnable that runs a C++ function, and
// helpers that start Java threads and wait for them.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "JavaTask.h"
#include "ThreadTestSupport.h"
#include "VMClassKit.h"
#include "VMCollector.h"
#include "VMContext.h"
#include "VMSynchronized.h"
#include "VMTestEnv.h"
#include "VMThread.h"
#include "java_lang_Runnable.h"
#include "java_lang_Thread.h"

namespace jthreads_test {

// Task, newThread and startThread come from the shared test support.
using java_test::newThread;
using java_test::startThread;
using java_test::Task;

// The current-thread word of the main thread and of a Java thread.
uintptr_t mainWord();
uintptr_t wordOf(const VMPtr<java::lang::Thread>& t);

// Waits (giving the global lock to other threads between looks) until the
// thread has ended its run; false after 10 s.
bool waitForEnd(const VMPtr<java::lang::Thread>& t);
// Waits until the thread sleeps or waits; false after 10 s.
bool waitUntilWaiting(const VMPtr<java::lang::Thread>& t);
// How many thread records the VM has.
int countRecords();

// Every test: a VM whose main thread holds the global lock; death tests
// re-run the program (the process has threads).
class JavaThreads : public ::testing::Test {
 protected:
  void SetUp() override {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    VMTestEnv::start();
    threads_test::events.clear();
  }

  // Every thread of the test has ended and its Thread object is gone:
  // collections delete the records, which joins their platform threads.
  void TearDown() override {
    EXPECT_TRUE(threads_test::waitUntil([] {
      _VM_collect();
      return countRecords() == 1;
    })) << "a thread of the test did not end";
  }
};

using threads_test::events;
using threads_test::happened;
using threads_test::waitUntil;

// The position of `event` in the event log (-1 when absent).
int positionOf(const std::string& event);

}  // namespace jthreads_test
