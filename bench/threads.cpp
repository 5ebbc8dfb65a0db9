// Monitors and Java threads, side by side with the C++ library:
//
//   Monitor*:  enter and exit of an uncontended monitor (a synchronized
//              block on a thin monitor, and on one that has been inflated),
//              against std::mutex lock and unlock.
//   PingPong*: one round trip between two threads (two hand-offs): two Java
//              threads through wait and notify on one monitor, against two
//              std::threads through one mutex and condition variable.
#include <benchmark/benchmark.h>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "VMClassKit.h"
#include "VMSynchronized.h"
#include "VMTestEnv.h"
#include "VMThread.h"
#include "java_lang_Runnable.h"
#include "java_lang_Thread.h"

namespace bench {

// A Runnable that runs a C++ function.
class Body : public virtual java::lang::Object, public virtual java::lang::Runnable {
  VM_CLASS(Body, java::lang::Object)

 public:
  void run() override { body(); }
  std::function<void()> body;
};

}  // namespace bench

VM_REGISTER_CLASS(bench::Body, "bench.Body", "java.lang.Object", 0);
VM_IMPLEMENTS(bench::Body, "java.lang.Runnable");

namespace {

using java::lang::Object;
using java::lang::Thread;

void BM_MonitorThinEnterExit(benchmark::State& state) {
  VMTestEnv::start();
  VMPtr<Object> o = Object::_VM_new();
  for (auto _ : state) {
    VMSynchronized guard(o);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_MonitorThinEnterExit);

void BM_MonitorInflatedEnterExit(benchmark::State& state) {
  VMTestEnv::start();
  VMPtr<Object> o = Object::_VM_new();
  {
    VMSynchronized guard(o);
    o->wait(1);  // inflates the monitor for good
  }
  for (auto _ : state) {
    VMSynchronized guard(o);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_MonitorInflatedEnterExit);

void BM_StdMutexLockUnlock(benchmark::State& state) {
  std::mutex m;
  for (auto _ : state) {
    std::lock_guard<std::mutex> guard(m);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_StdMutexLockUnlock);

void BM_PingPongJavaWaitNotify(benchmark::State& state) {
  VMTestEnv::start();
  VMPtr<Object> o = Object::_VM_new();
  int turn = 0;  // 1: the partner's turn; guarded by the monitor of o
  bool stop = false;
  VMPtr<bench::Body> body = bench::Body::_VM_new();
  body->body = [&turn, &stop, o = o.get()] {
    VMSynchronized guard(o);
    for (;;) {
      while (turn != 1 && !stop) o->wait();
      if (stop) break;
      turn = 0;
      o->notify();
    }
  };
  VMPtr<Thread> partner = Thread::_VM_new();
  partner->_VM_init(VMPtr<java::lang::Runnable>(body));
  partner->start();
  {
    VMSynchronized guard(o);
    for (auto _ : state) {
      turn = 1;
      o->notify();
      while (turn != 0) o->wait();
    }
    stop = true;
    o->notify();
  }
  VMSynchronized guard(partner);
  while (partner->isAlive()) partner->wait();
}
BENCHMARK(BM_PingPongJavaWaitNotify)->UseRealTime();

void BM_PingPongCondVar(benchmark::State& state) {
  std::mutex m;
  std::condition_variable cv;
  int turn = 0;  // guarded by m
  bool stop = false;
  std::thread partner([&] {
    std::unique_lock<std::mutex> lock(m);
    for (;;) {
      cv.wait(lock, [&] { return turn == 1 || stop; });
      if (stop) break;
      turn = 0;
      cv.notify_one();
    }
  });
  {
    std::unique_lock<std::mutex> lock(m);
    for (auto _ : state) {
      turn = 1;
      cv.notify_one();
      cv.wait(lock, [&] { return turn == 0; });
    }
    stop = true;
    cv.notify_one();
  }
  partner.join();
}
BENCHMARK(BM_PingPongCondVar)->UseRealTime();

}  // namespace
