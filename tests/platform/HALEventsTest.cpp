#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "HALCallbacks.h"
#include "HALEvents.h"
#include "HALGlobalLock.h"
#include "VMExitException.h"
#include "VMTestEnv.h"
#include "VMThrow.h"
#include "java_lang_RuntimeException.h"

namespace {

// What the listeners saw: which listener, the type, the payload words and
// whether the global lock was held.
struct Delivery {
  int listener;
  int type;
  std::vector<intptr_t> words;
  bool locked;
  bool operator==(const Delivery&) const = default;
};
std::vector<Delivery> seen;

// Listener number `Id`: records each event it gets.
template <int Id>
void record(int type, int count, const intptr_t* payload) {
  std::vector<intptr_t> words;
  for (int i = 0; i < count; ++i) words.push_back(payload[i]);
  seen.push_back({Id, type, words, HAL_holdsGlobalLock()});
}

// Listener ids of the recorded deliveries, in order.
std::vector<int> listenersSeen() {
  std::vector<int> ids;
  for (const Delivery& d : seen) ids.push_back(d.listener);
  return ids;
}

// The listeners of this system, registered out of list order, plus one that
// takes every type.
enum { kExit = 1, kResume, kDisplay, kZone, kPauseDestroy, kAll };

void registerSystemListeners() {
  ASSERT_NE(nullptr, HAL_addEventListener(record<kPauseDestroy>, 0xA, 2));
  ASSERT_NE(nullptr, HAL_addEventListener(record<kDisplay>, 0x7FFFFFFF, 1));
  ASSERT_NE(nullptr, HAL_addEventListener(record<kExit>, 0x8, 0));
  ASSERT_NE(nullptr, HAL_addEventListener(record<kZone>, 0x10, 7));  // any other list number is list 1
  ASSERT_NE(nullptr, HAL_addEventListener(record<kResume>, 0x4, 0));
  ASSERT_NE(nullptr, HAL_addEventListener(record<kAll>, 0xFFFFFFFF, -1));
}

class HALEventsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    seen.clear();
    HAL_createEventRegistry();
  }
  void TearDown() override { HAL_deleteEventRegistry(); }
};

TEST_F(HALEventsTest, DeliversInListOrderToMatchingMasksOnly) {
  registerSystemListeners();
  struct Case {
    int type;
    std::vector<int> listeners;
  };
  const Case cases[] = {
      {HAL_EVENT_PAUSE, {kDisplay, kAll, kPauseDestroy}},
      {HAL_EVENT_RESUME, {kResume, kDisplay, kAll}},
      {HAL_EVENT_EXIT, {kExit, kDisplay, kAll, kPauseDestroy}},
      {HAL_EVENT_TIME_ZONE_CHANGE, {kDisplay, kZone, kAll}},
      {HAL_EVENT_KEY_PRESSED, {kDisplay, kAll}},
      {30, {kDisplay, kAll}},
      {31, {kAll}},  // the display's mask stops at type 30
      // No event has type 0 or a type beyond the mask's bits.
      {0, {}},
      {32, {}},
      {33, {}},
      {64, {}},
      {-1, {}},
      {INT32_MIN, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    seen.clear();
    EXPECT_EQ(0, HAL_broadcastEvent(c.type, 0, nullptr));
    EXPECT_EQ(c.listeners, listenersSeen());
  }
}

TEST_F(HALEventsTest, PassesPointerSizedPayloadWordsThrough) {
  ASSERT_NE(nullptr, HAL_addEventListener(record<1>, 1u << HAL_EVENT_SIZE_CHANGE, 1));
  int displayable;
  const intptr_t words[] = {reinterpret_cast<intptr_t>(&displayable), 240, -320};
  EXPECT_EQ(0, HAL_broadcastEvent(HAL_EVENT_SIZE_CHANGE, 3, words));
  ASSERT_EQ(1u, seen.size());
  EXPECT_EQ((std::vector<intptr_t>{reinterpret_cast<intptr_t>(&displayable), 240, -320}), seen[0].words);
}

TEST(HALEventRegistryTest, WithoutRegistryNothingRegistersOrArrives) {
  seen.clear();
  EXPECT_EQ(nullptr, HAL_getEventRegistry());
  EXPECT_EQ(nullptr, HAL_addEventListener(record<1>, 0xFFFFFFFF, 0));
  EXPECT_EQ(0, HAL_broadcastEvent(HAL_EVENT_EXIT, 0, nullptr));

  HAL_createEventRegistry();
  HALEventRegistry* made = HAL_getEventRegistry();
  ASSERT_NE(nullptr, made);
  HALEventListener* listener = HAL_addEventListener(record<1>, 0xFFFFFFFF, 0);
  ASSERT_NE(nullptr, listener);
  EXPECT_EQ(0xFFFFFFFFu, listener->mask);
  EXPECT_EQ(nullptr, HAL_addEventListener(nullptr, 0xFFFFFFFF, 0));
  HAL_createEventRegistry();  // keeps the registry and its listeners
  EXPECT_EQ(made, HAL_getEventRegistry());
  EXPECT_EQ(0, HAL_broadcastEvent(HAL_EVENT_EXIT, 0, nullptr));
  EXPECT_EQ(std::vector<int>{1}, listenersSeen());

  HAL_deleteEventRegistry();
  EXPECT_EQ(nullptr, HAL_getEventRegistry());
  EXPECT_EQ(nullptr, HAL_addEventListener(record<1>, 0xFFFFFFFF, 0));
  EXPECT_EQ(0, HAL_broadcastEvent(HAL_EVENT_EXIT, 0, nullptr));
  EXPECT_EQ(std::vector<int>{1}, listenersSeen());
  HAL_deleteEventRegistry();  // nothing to delete
}

// Throws a C++ exception on the resume event.
void throwOnResume(int type, int, const intptr_t*) {
  if (type == HAL_EVENT_RESUME) throw std::runtime_error("listener failed");
}

TEST_F(HALEventsTest, AThrowingListenerEndsTheBroadcastWith2) {
  // The thrower sits in the middle of list 0; listeners after it in list 0
  // and in the later lists miss the event, the one before it has it.
  ASSERT_NE(nullptr, HAL_addEventListener(record<1>, 0xFFFFFFFF, 0));
  ASSERT_NE(nullptr, HAL_addEventListener(throwOnResume, 0xFFFFFFFF, 0));
  ASSERT_NE(nullptr, HAL_addEventListener(record<2>, 0xFFFFFFFF, 0));
  ASSERT_NE(nullptr, HAL_addEventListener(record<3>, 0xFFFFFFFF, 1));
  ASSERT_NE(nullptr, HAL_addEventListener(record<4>, 0xFFFFFFFF, 2));
  EXPECT_EQ(HAL_EVENT_LISTENER_THREW, HAL_broadcastEvent(HAL_EVENT_RESUME, 0, nullptr));
  EXPECT_EQ(std::vector<int>{1}, listenersSeen());
  // The next event goes through to everyone.
  seen.clear();
  EXPECT_EQ(0, HAL_broadcastEvent(HAL_EVENT_PAUSE, 0, nullptr));
  EXPECT_EQ((std::vector<int>{1, 2, 3, 4}), listenersSeen());
}

void throwRuntimeException(int, int, const intptr_t*) {
  _VM_throwNew<java::lang::RuntimeException>("listener failed");
}
void throwExit(int, int, const intptr_t*) { _VM_throw(VMExitException::_VM_new(0)); }

TEST_F(HALEventsTest, AJavaThrowableHasItsStackTracePrinted) {
  VMTestEnv::start();
  ASSERT_NE(nullptr, HAL_addEventListener(throwRuntimeException, 1u << HAL_EVENT_RESUME, 1));
  ASSERT_NE(nullptr, HAL_addEventListener(throwExit, 1u << HAL_EVENT_EXIT, 1));
  ASSERT_NE(nullptr, HAL_addEventListener(record<1>, 0xFFFFFFFF, 2));
  testing::internal::CaptureStdout();
  EXPECT_EQ(HAL_EVENT_LISTENER_THREW, HAL_broadcastEvent(HAL_EVENT_RESUME, 0, nullptr));
  EXPECT_EQ("Exception java.lang.RuntimeException: listener failed\n    at <unknown>\n",
            testing::internal::GetCapturedStdout());
  // The exit carrier is no throwable: it ends the delivery without a report.
  testing::internal::CaptureStdout();
  EXPECT_EQ(HAL_EVENT_LISTENER_THREW, HAL_broadcastEvent(HAL_EVENT_EXIT, 0, nullptr));
  EXPECT_EQ("", testing::internal::GetCapturedStdout());
  EXPECT_TRUE(seen.empty());
}

// A VM callback table whose broadcast slot passes events to the registry
// and whose re-attach slot counts its calls and checks the lock.
int reattachCalls = 0;
void countReattach() {
  EXPECT_TRUE(HAL_holdsGlobalLock());
  ++reattachCalls;
}

class HALSendEventTest : public HALEventsTest {
 protected:
  void SetUp() override {
    HALEventsTest::SetUp();
    reattachCalls = 0;
    VMCallbacks table{};
    table.broadcastEvent = HAL_broadcastEvent;
    table.reattach = countReattach;
    HAL_setVMCallbacks(&table);
    ASSERT_NE(nullptr, HAL_addEventListener(record<1>, 0xFFFFFFFF, 1));
  }
};

TEST_F(HALSendEventTest, TakesTheLockOnlyWhenAsked) {
  const intptr_t key[] = {-7};
  HAL_sendEvent(HAL_EVENT_KEY_PRESSED, 1, key, true);
  EXPECT_EQ(1, reattachCalls);
  EXPECT_FALSE(HAL_holdsGlobalLock());

  // The show event is raised by code that already holds the lock.
  int displayable;
  const intptr_t shown[] = {reinterpret_cast<intptr_t>(&displayable)};
  HAL_enterGlobalLock();
  HAL_sendEvent(HAL_EVENT_SHOW_DISPLAYABLE, 1, shown, false);
  HAL_leaveGlobalLock();
  EXPECT_EQ(1, reattachCalls);
  EXPECT_FALSE(HAL_holdsGlobalLock());

  const std::vector<Delivery> expected = {
      {1, HAL_EVENT_KEY_PRESSED, {-7}, true},
      {1, HAL_EVENT_SHOW_DISPLAYABLE, {reinterpret_cast<intptr_t>(&displayable)}, true},
  };
  EXPECT_EQ(expected, seen);
}

TEST_F(HALSendEventTest, ReleasesTheLockWhenTheBroadcastThrows) {
  VMCallbacks table = *HAL_getVMCallbacks();
  table.broadcastEvent = [](int, int, const intptr_t*) -> int { throw std::runtime_error("broken VM"); };
  HAL_setVMCallbacks(&table);
  EXPECT_THROW(HAL_sendEvent(HAL_EVENT_PAUSE, 0, nullptr, true), std::runtime_error);
  EXPECT_FALSE(HAL_holdsGlobalLock());
}

TEST_F(HALSendEventTest, RaisesNothingOnceTheExitHasStarted) {
  HAL_setExitStarted(true);
  EXPECT_TRUE(HAL_isExitStarted());
  for (int type : {HAL_EVENT_PAUSE, HAL_EVENT_RESUME, HAL_EVENT_EXIT, HAL_EVENT_KEY_PRESSED}) {
    HAL_sendEvent(type, 0, nullptr, true);
    HAL_sendEvent(type, 0, nullptr, false);
  }
  EXPECT_TRUE(seen.empty());
  EXPECT_EQ(0, reattachCalls);
  // The exit sequence itself still broadcasts the exit event.
  EXPECT_EQ(0, HAL_broadcastEvent(HAL_EVENT_EXIT, 0, nullptr));
  EXPECT_EQ(std::vector<int>{1}, listenersSeen());
}

TEST_F(HALSendEventTest, RaisesNothingWithoutRegistry) {
  HAL_deleteEventRegistry();
  HAL_sendEvent(HAL_EVENT_RESUME, 0, nullptr, true);
  EXPECT_EQ(0, reattachCalls);  // no lock taken and no VM touched
  EXPECT_TRUE(seen.empty());
}

// What the main window was sent.
struct Posted {
  uint32_t message;
  uintptr_t wParam;
  intptr_t lParam;
  bool operator==(const Posted&) const = default;
};
std::vector<Posted> posted;
bool postToWindow(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  posted.push_back({message, wParam, lParam});
  return true;
}

TEST(HALRequestExitTest, PostsTheExitMessageToTheMainWindow) {
  EXPECT_EQ(HAL_OK, HAL_requestExit());  // no window yet: nothing to post to
  HAL_setMainWindowPoster(postToWindow);
  EXPECT_EQ(HAL_OK, HAL_requestExit());
  EXPECT_EQ((std::vector<Posted>{{1025, 0, 0}}), posted);
  HAL_setMainWindowPoster(nullptr);
  EXPECT_EQ(HAL_OK, HAL_requestExit());
  EXPECT_EQ(1u, posted.size());
}

TEST(HALCallSeriallyTest, QueuedRoutinesRunOnceInOrderWhenTheMainWindowRunsTheQueue) {
  VMTestEnv::start();
  posted.clear();
  std::vector<int> ran;
  auto record = [](void* cell) {
    auto* entry = static_cast<std::pair<std::vector<int>*, int>*>(cell);
    entry->first->push_back(entry->second);
  };
  std::pair<std::vector<int>*, int> one{&ran, 1}, two{&ran, 2};
  EXPECT_EQ(HAL_ILLEGAL_ARGUMENT_ERR, HAL_callSerially(nullptr, nullptr));
  EXPECT_EQ(HAL_OK, HAL_callSerially(record, &one));  // no window: waits in the queue
  HAL_setMainWindowPoster(postToWindow);
  EXPECT_EQ(HAL_OK, HAL_callSerially(record, &two));
  EXPECT_TRUE(ran.empty());
  EXPECT_EQ((std::vector<Posted>{{HAL_SERIAL_CALLS_MESSAGE, 0, 0}}), posted);
  HAL_runSerialCalls();
  EXPECT_EQ((std::vector<int>{1, 2}), ran);
  HAL_runSerialCalls();
  EXPECT_EQ((std::vector<int>{1, 2}), ran);

  // A routine that queues another: the new one waits for the next run.
  static std::vector<int>* log = &ran;
  EXPECT_EQ(HAL_OK, HAL_callSerially([](void*) { HAL_callSerially([](void*) { log->push_back(4); }, nullptr); },
                                     nullptr));
  HAL_runSerialCalls();
  EXPECT_EQ((std::vector<int>{1, 2}), ran);
  HAL_runSerialCalls();
  EXPECT_EQ((std::vector<int>{1, 2, 4}), ran);

  // Once the exit has begun the queue is dropped unrun.
  EXPECT_EQ(HAL_OK, HAL_callSerially(record, &one));
  HAL_setExitStarted(true);
  HAL_runSerialCalls();
  HAL_setExitStarted(false);
  HAL_runSerialCalls();
  EXPECT_EQ((std::vector<int>{1, 2, 4}), ran);
  HAL_setMainWindowPoster(nullptr);
}

}  // namespace
