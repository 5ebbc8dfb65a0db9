// Thread records under the collector, and many wait/notify hand-offs.
#include "JavaThreadTestSupport.h"
#include "VMCollector.h"

namespace jthreads_test {
namespace {

using java::lang::Object;
using java::lang::Thread;
using ThreadRecords = JavaThreads;

// Collections run while threads end: a record goes only once its Thread
// object is gone and its platform thread has finished, so none is deleted
// (and its thread joined) under a thread that is still on its way out.
TEST_F(ThreadRecords, CollectionsWhileThreadsEndDeleteOnlyFinishedThreads) {
  constexpr int kRounds = 20;
  constexpr int kThreadsPerRound = 10;
  int ran = 0;
  for (int round = 0; round < kRounds; ++round) {
    for (int i = 0; i < kThreadsPerRound; ++i) startThread([&ran] { ++ran; });
    ASSERT_TRUE(waitUntil([] {
      _VM_collect();
      VMThread::yield();
      return countRecords() == 1;
    })) << "records of ended threads are deleted";
  }
  EXPECT_EQ(ran, kRounds * kThreadsPerRound);
  EXPECT_EQ(VMThread::countAlive(), 1);
}

TEST_F(ThreadRecords, RecordStaysWhileItsThreadObjectLives) {
  VMPtr<Thread> kept = startThread([] {});
  ASSERT_TRUE(waitForEnd(kept));
  ASSERT_TRUE(waitUntil([&kept] { return kept->_VM_record->halThread->finished.load() != 0; }));
  {
    // Made and dropped without being started: its record can go at once.
    VMPtr<Thread> neverStarted = newThread([] {});
  }
  EXPECT_EQ(countRecords(), 3);
  _VM_collect();
  EXPECT_EQ(countRecords(), 2);
  EXPECT_EQ(kept->_VM_record->thread, kept.get());
  EXPECT_FALSE(kept->isAlive());
  kept = nullptr;
  _VM_collect();
  EXPECT_EQ(countRecords(), 1);
}

// The moment between the end of a thread's run (its Thread object no longer
// pinned) and its platform thread finishing, held open: the record must stay,
// since deleting it then would be fatal.
TEST_F(ThreadRecords, RecordOfAThreadStillEndingStays) {
  VMPtr<Thread> t = startThread([] {});
  ASSERT_TRUE(waitUntil([&t] { return t->_VM_record->halThread->finished.load() != 0; }));
  HALThread* platformThread = t->_VM_record->halThread;
  platformThread->finished.store(0);  // as if it had not yet got that far
  t = nullptr;
  _VM_collect();
  EXPECT_EQ(countRecords(), 2);
  platformThread->finished.store(1);
  _VM_collect();
  EXPECT_EQ(countRecords(), 1);
}

TEST_F(ThreadRecords, EveryCollectionEndsOutOfMemoryReports) {
  VMPtr<Thread> t = newThread([] {});
  t->_VM_record->reportingOutOfMemory = 1;
  VMTestEnv::mainThread()->reportingOutOfMemory = 1;
  _VM_collect();
  EXPECT_EQ(t->_VM_record->reportingOutOfMemory, 0);
  EXPECT_EQ(VMTestEnv::mainThread()->reportingOutOfMemory, 0);
}

// Two Java threads hand a turn back and forth through wait and notify many
// times; a lost wake-up would stop them.
TEST_F(ThreadRecords, ManyWaitNotifyHandOffsBetweenTwoThreads) {
  constexpr int kHandOffs = 3000;
  VMPtr<Object> o = Object::_VM_new();
  int turn = 0;  // guarded by the monitor of o
  int handOffs = 0;
  auto player = [&, o = o.get()](int me) {
    return [&, o, me] {
      VMSynchronized guard(o);
      while (handOffs < kHandOffs) {
        while (turn != me && handOffs < kHandOffs) o->wait();
        if (handOffs >= kHandOffs) break;
        ++handOffs;
        turn = 1 - me;
        o->notify();
      }
      o->notifyAll();
    };
  };
  VMPtr<Thread> a = startThread(player(0));
  VMPtr<Thread> b = startThread(player(1));
  {
    VMSynchronized guard(a);
    while (a->isAlive()) a->wait();
  }
  {
    VMSynchronized guard(b);
    while (b->isAlive()) b->wait();
  }
  EXPECT_EQ(handOffs, kHandOffs);
}

}  // namespace
}  // namespace jthreads_test
