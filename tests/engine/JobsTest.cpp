// The job queue and the network result hand-over: delivery order, the
// result before the jobs, replaced and cancelled results, jobs queued by
// jobs, and jobs run on the canvas thread before its tick.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "EngineFixture.h"
#include "JavaTask.h"

namespace enginetest {
namespace {

using Result = std::pair<int32_t, int32_t>;

class Jobs : public EngineFixture {
 protected:
  void SetUp() override {
    EngineFixture::SetUp();
    canvas = makeCanvas().get();  // never shown: the test thread runs the jobs; kept as the instance
  }
  VMPtr<java::lang::Runnable> job(std::function<void()> body) {
    VMPtr<java_test::Task> task = java_test::Task::_VM_new();
    task->_VM_init(std::move(body));
    return task;
  }
  static VMPtr<VMArray<int8_t>> bytes(int32_t n) { return VMArray<int8_t>::create(n); }
  ProbeCanvas* canvas = nullptr;
};

TEST_F(Jobs, NetworkResultsAsATable) {
  struct Case {
    const char* name;
    std::function<void(ProbeCanvas*)> post;
    std::vector<Result> delivered;
  };
  const Case cases[] = {
      {"an empty array arrives as null", [](ProbeCanvas* c) { c->postNetworkResult(200, bytes(0)); }, {{200, -1}}},
      {"data arrives whole", [](ProbeCanvas* c) { c->postNetworkResult(200, bytes(5)); }, {{200, 5}}},
      {"a second result replaces the first",
       [](ProbeCanvas* c) {
         c->postNetworkResult(200, bytes(3));
         tq::TqCanvas::networkTransferComplete(-9, nullptr);
       },
       {{-9, -1}}},
      {"a cancelled result is never delivered",
       [](ProbeCanvas* c) {
         c->postNetworkResult(200, bytes(3));
         c->cancelNetworkResult();
       },
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    canvas->results.clear();
    c.post(canvas);
    canvas->runJobs();
    canvas->runJobs();
    EXPECT_EQ(canvas->results, c.delivered);
  }
}

TEST_F(Jobs, TheResultComesFirstThenTheJobsInOrder) {
  std::vector<std::string> log;
  canvas->scheduleJob(job([&] { log.push_back("a " + std::to_string(canvas->results.size())); }));
  canvas->scheduleJob(job([&] {
    log.push_back("b");
    canvas->scheduleJob(job([&] { log.push_back("queued by b"); }));
  }));
  canvas->scheduleJob(job([&] { log.push_back("c"); }));
  canvas->postNetworkResult(404, nullptr);
  canvas->runJobs();
  EXPECT_EQ(log, (std::vector<std::string>{"a 1", "b", "c", "queued by b"}));
  EXPECT_FALSE(canvas->jobsPending);
  canvas->runJobs();
  EXPECT_EQ(log.size(), 4u);
}

TEST_F(Jobs, AResultPostedByTheHookWaitsForTheNextFrame) {
  canvas->scheduleJob(job([&] { canvas->postNetworkResult(2, bytes(1)); }));
  canvas->runJobs();
  EXPECT_TRUE(canvas->resultPending);
  canvas->runJobs();
  EXPECT_EQ(canvas->results, (std::vector<Result>{{2, 1}}));
}

TEST_F(Jobs, JobsRunOnTheCanvasThreadBeforeTheTick) {
  VMPtr<java::lang::Thread> thread = tq::TqCanvas::canvasThread;
  std::vector<int32_t> ticksSeen;
  std::vector<std::thread::id> threads;
  std::thread::id tickThread;
  canvas->onTick = [&](ProbeCanvas* c) { tickThread = std::this_thread::get_id(); };
  display->setCurrent(VMPtr<ProbeCanvas>(canvas));
  ASSERT_TRUE(waitFor([&] { return canvas->ticks > 0; }));
  for (int i = 0; i < 3; ++i) {
    canvas->scheduleJob(job([&] {
      ticksSeen.push_back(canvas->ticks);
      threads.push_back(std::this_thread::get_id());
    }));
  }
  const int32_t ticks = canvas->ticks;
  ASSERT_TRUE(waitFor([&] { return canvas->ticks > ticks + 1; }));
  ASSERT_EQ(ticksSeen.size(), 3u);
  EXPECT_EQ(ticksSeen[0], ticksSeen[2]);  // one frame, before its tick
  for (const std::thread::id& id : threads) EXPECT_EQ(id, tickThread);
  EXPECT_NE(tickThread, std::this_thread::get_id());
  finish(VMPtr<ProbeCanvas>(canvas), thread);
}

}  // namespace
}  // namespace enginetest
