// The window manager's message rules: filters, quit, destroyed windows,
// coalesced mouse moves, paint and timers only when nothing else waits,
// translation, activation, blocking reads.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "CeHeadlessBackend.h"
#include "StandInTestSupport.h"

using namespace ce;

namespace {

class WindowManager : public testing::Test {
 protected:
  void SetUp() override {
    resetStandIn();
    a = RecordingWindows::create(u"A");
    b = RecordingWindows::create(u"B");
    drain();  // creation's paint and activation
    RecordingWindows::clear();
  }
  HWND a = nullptr;
  HWND b = nullptr;
};

TEST_F(WindowManager, FiltersFindAMatchingMessageBehindOthers) {
  PostMessageW(a, WM_USER + 1, 0, 0);
  PostMessageW(b, WM_USER + 2, 0, 0);
  PostMessageW(a, WM_KEYDOWN, 'A', 0);
  PostMessageW(b, WM_USER + 3, 0, 0);
  MSG msg{};
  // Window filter: b's first message, behind a's.
  ASSERT_TRUE(PeekMessageW(&msg, b, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_USER + 2u);
  // Range filter over every window: the key, behind a user message.
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_KEYDOWN);
  EXPECT_EQ(msg.hwnd, a);
  // Both filters, nothing passes: the queue is untouched.
  EXPECT_FALSE(PeekMessageW(&msg, a, WM_USER + 3, WM_USER + 3, PM_REMOVE));
  // PM_NOREMOVE leaves the message where it is.
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(msg.message, WM_USER + 1u);
  EXPECT_EQ(drain(), (std::vector<UINT>{WM_USER + 1, WM_USER + 3}));
}

TEST_F(WindowManager, QuitReachesAWindowFilteredReadAndEndsGetMessage) {
  PostMessageW(b, WM_USER, 0, 0);
  PostQuitMessage(7);
  MSG msg{};
  ASSERT_TRUE(PeekMessageW(&msg, a, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_QUIT);
  EXPECT_EQ(msg.wParam, 7u);
  PostQuitMessage(3);
  EXPECT_EQ(GetMessageW(&msg, a, 0, 0), FALSE);
  EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(WindowManager, MessagesForADestroyedWindowAreDropped) {
  PostMessageW(a, WM_USER, 0, 0);
  PostMessageW(b, WM_USER + 1, 0, 0);
  SetTimer(a, 5, 1, nullptr);
  InvalidateRect(a, nullptr, FALSE);
  EXPECT_TRUE(DestroyWindow(a));
  EXPECT_EQ(RecordingWindows::messages(), std::vector<UINT>{WM_DESTROY});
  EXPECT_FALSE(DestroyWindow(a));
  EXPECT_FALSE(PostMessageW(a, WM_USER, 0, 0));
  EXPECT_EQ(SendMessageW(a, WM_USER, 0, 0), 0);
  EXPECT_FALSE(IsWindow(a));
  std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_EQ(drain(), std::vector<UINT>{WM_USER + 1});  // no paint, no timer of a
  MSG msg{a, WM_USER, 0, 0, 0, {}};
  EXPECT_EQ(DispatchMessageW(&msg), 0);
}

TEST_F(WindowManager, MouseMovesRightBehindEachOtherAreCoalesced) {
  const struct {
    std::vector<std::pair<UINT, LPARAM>> posted;
    std::vector<std::pair<UINT, LPARAM>> taken;
  } cases[] = {
      {{{WM_MOUSEMOVE, 1}, {WM_MOUSEMOVE, 2}, {WM_MOUSEMOVE, 3}}, {{WM_MOUSEMOVE, 3}}},
      {{{WM_MOUSEMOVE, 1}, {WM_LBUTTONUP, 2}, {WM_MOUSEMOVE, 3}},
       {{WM_MOUSEMOVE, 1}, {WM_LBUTTONUP, 2}, {WM_MOUSEMOVE, 3}}},
      {{{WM_LBUTTONDOWN, 1}, {WM_MOUSEMOVE, 2}, {WM_MOUSEMOVE, 4}, {WM_LBUTTONUP, 4}},
       {{WM_LBUTTONDOWN, 1}, {WM_MOUSEMOVE, 4}, {WM_LBUTTONUP, 4}}},
  };
  for (const auto& c : cases) {
    for (const auto& [message, lParam] : c.posted) PostMessageW(a, message, MK_LBUTTON, lParam);
    std::vector<std::pair<UINT, LPARAM>> taken;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) taken.emplace_back(msg.message, msg.lParam);
    EXPECT_EQ(taken, c.taken);
  }
  // Moves of different windows are not merged.
  PostMessageW(a, WM_MOUSEMOVE, MK_LBUTTON, 1);
  PostMessageW(b, WM_MOUSEMOVE, MK_LBUTTON, 2);
  EXPECT_EQ(drain().size(), 2u);
}

TEST_F(WindowManager, PaintAndTimersComeOnlyWhenNothingElseWaits) {
  SetTimer(a, 9, 1, nullptr);
  std::this_thread::sleep_for(std::chrono::milliseconds(5));
  InvalidateRect(b, nullptr, FALSE);
  PostMessageW(a, WM_USER, 0, 0);
  PostMessageW(b, WM_USER + 1, 0, 0);
  MSG msg{};
  std::vector<UINT> order;
  for (int i = 0; i < 4 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
    order.push_back(msg.message);
    DispatchMessageW(&msg);
  }
  EXPECT_EQ(order, (std::vector<UINT>{WM_USER, WM_USER + 1, WM_PAINT, WM_TIMER}));
  // Paint that is not validated comes again; validated, it stops.
  InvalidateRect(a, nullptr, FALSE);
  ASSERT_TRUE(PeekMessageW(&msg, a, WM_PAINT, WM_PAINT, PM_REMOVE));
  ASSERT_TRUE(PeekMessageW(&msg, a, WM_PAINT, WM_PAINT, PM_REMOVE));
  PAINTSTRUCT paint{};
  EXPECT_NE(BeginPaint(a, &paint), nullptr);
  EXPECT_EQ(paint.rcPaint.right, 240);
  EndPaint(a, &paint);
  EXPECT_FALSE(PeekMessageW(&msg, a, WM_PAINT, WM_PAINT, PM_REMOVE));
  KillTimer(a, 9);
}

TEST_F(WindowManager, TimersTickByTheirPeriodAndStopWhenKilled) {
  SetTimer(a, 1, 30, nullptr);
  MSG msg{};
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));  // not due yet
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(GetMessageW(&msg, nullptr, WM_TIMER, WM_TIMER));
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(25));
  EXPECT_EQ(msg.hwnd, a);
  EXPECT_EQ(msg.wParam, 1u);
  // Setting it again restarts it; killing it ends it.
  EXPECT_EQ(SetTimer(a, 1, 10000, nullptr), 1u);
  std::this_thread::sleep_for(std::chrono::milliseconds(40));
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
  EXPECT_TRUE(KillTimer(a, 1));
  EXPECT_FALSE(KillTimer(a, 1));
  // A timer procedure gets the tick instead of the window.
  static std::atomic<int> ticks{0};
  SetTimer(b, 2, 1, [](HWND, UINT, uintptr_t id, DWORD) { ticks += static_cast<int>(id); });
  ASSERT_TRUE(GetMessageW(&msg, nullptr, WM_TIMER, WM_TIMER));
  DispatchMessageW(&msg);
  EXPECT_EQ(ticks.load(), 2);
  EXPECT_TRUE(RecordingWindows::messages().empty());
  // A timer without a window gets an id of its own.
  const uintptr_t id = SetTimer(nullptr, 0, 5, nullptr);
  EXPECT_NE(id, 0u);
  EXPECT_TRUE(KillTimer(nullptr, id));
}

TEST_F(WindowManager, GetMessageWaitsUntilAnotherThreadPosts) {
  std::thread poster([this] {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    PostMessageW(b, WM_USER + 5, 1, 2);
  });
  MSG msg{};
  ASSERT_TRUE(GetMessageW(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, WM_USER + 5u);
  poster.join();
}

TEST_F(WindowManager, OnlyPrintableKeysMakeCharacters) {
  const struct {
    UINT key;
    WPARAM character;  // 0: none
  } cases[] = {{'A', 'a'}, {'Z', 'z'}, {'0', '0'}, {'9', '9'}, {VK_NUMPAD0 + 3, '3'}, {VK_SPACE, ' '},
               {VK_RETURN, 0}, {VK_BACK, 0}, {VK_ESCAPE, 0}, {VK_UP, 0}, {VK_F1, 0}, {VK_ASTERISK, 0},
               {VK_PROCESSKEY, 0}};
  for (const auto& c : cases) {
    MSG key{a, WM_KEYDOWN, c.key, 0x1E0001, 0, {}};
    EXPECT_EQ(TranslateMessage(&key), c.character ? TRUE : FALSE) << c.key;
    MSG msg{};
    const bool made = PeekMessageW(&msg, a, WM_CHAR, WM_CHAR, PM_REMOVE);
    EXPECT_EQ(made, c.character != 0) << c.key;
    if (made) {
      EXPECT_EQ(msg.wParam, c.character);
      EXPECT_EQ(msg.lParam, 0x1E0001);
    }
  }
  MSG up{a, WM_KEYUP, 'A', 0, 0, {}};
  EXPECT_FALSE(TranslateMessage(&up));
}

TEST_F(WindowManager, ActivationMessagesOnlyOnARealChange) {
  // a was made first: it is the main window and active.
  EXPECT_EQ(CeWindowManager::mainWindow(), a);
  EXPECT_EQ(GetForegroundWindow(), a);
  EXPECT_TRUE(SetForegroundWindow(a));
  EXPECT_TRUE(drain().empty());
  // The lowest bit of the handle is ignored.
  EXPECT_TRUE(SetForegroundWindow(reinterpret_cast<HWND>(reinterpret_cast<uintptr_t>(b) | 1)));
  drain();
  const auto taken = RecordingWindows::take();
  ASSERT_EQ(taken.size(), 2u);
  EXPECT_EQ(taken[0].window, a);
  EXPECT_EQ(taken[0].wParam, WA_INACTIVE);
  EXPECT_EQ(taken[1].window, b);
  EXPECT_EQ(taken[1].wParam, WA_ACTIVE);
  // The backend's focus: lost, lost again (nothing), minimised (nothing: it
  // is already inactive), gained (the main window).
  CeHeadlessBackend::activate(false);
  CeHeadlessBackend::activate(false);
  CeHeadlessBackend::minimise();
  CeHeadlessBackend::activate(true);
  drain();
  const auto focus = RecordingWindows::take();
  ASSERT_EQ(focus.size(), 2u);
  EXPECT_EQ(focus[0].window, b);
  EXPECT_EQ(focus[0].wParam, WA_INACTIVE);
  EXPECT_EQ(focus[1].window, a);
  EXPECT_EQ(focus[1].wParam, WA_ACTIVE);
  // Minimising the active window says so in the high word.
  CeHeadlessBackend::minimise();
  drain();
  const auto minimised = RecordingWindows::take();
  ASSERT_EQ(minimised.size(), 1u);
  EXPECT_EQ(minimised[0].wParam, WPARAM{1} << 16);
}

TEST_F(WindowManager, WindowsKeepTheirDataSizeAndClass) {
  EXPECT_EQ(SetWindowLongPtrW(a, GWL_USERDATA, 1234), 0);
  EXPECT_EQ(GetWindowLongPtrW(a, GWL_USERDATA), 1234);
  EXPECT_EQ(SetWindowLongPtrW(a, GWL_USERDATA, -1), 1234);
  EXPECT_EQ(GetWindowLongPtrW(a, 0), 0);
  RECT client{};
  ASSERT_TRUE(GetClientRect(a, &client));
  EXPECT_EQ(client.right, 240);
  EXPECT_EQ(client.bottom, 320 - 26);  // the work area, below the task bar
  ASSERT_TRUE(MoveWindow(a, 0, 0, 240, 320, FALSE));
  ASSERT_TRUE(MoveWindow(a, 0, 0, 240, 320, FALSE));  // the same size: no second WM_SIZE
  const auto sized = RecordingWindows::take();
  ASSERT_EQ(sized.size(), 1u);
  EXPECT_EQ(sized[0].message, WM_SIZE);
  EXPECT_EQ(sized[0].lParam, (320 << 16) | 240);
  EXPECT_EQ(FindWindowW(u"B", nullptr), b);
  EXPECT_EQ(FindWindowW(u"B", u"test"), b);
  EXPECT_EQ(FindWindowW(u"B", u"other"), nullptr);
  EXPECT_EQ(FindWindowW(u"nobody-has-this-class", nullptr), nullptr);
  EXPECT_TRUE(IsWindowEnabled(a));
  EXPECT_TRUE(IsWindowVisible(a));
  ShowWindow(a, SW_HIDE);
  EXPECT_FALSE(IsWindowVisible(a));
  // A second class of the same name is refused; an unknown class makes no window.
  WNDCLASSW again{};
  again.lpszClassName = u"A";
  again.lpfnWndProc = DefWindowProcW;
  EXPECT_FALSE(RegisterClassW(&again));
  EXPECT_EQ(CreateWindowW(u"none", u"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
}

TEST_F(WindowManager, CloseDestroysThroughTheDefaultProcedure) {
  PostMessageW(b, WM_CLOSE, 0, 0);
  drain();
  EXPECT_EQ(RecordingWindows::messages(), (std::vector<UINT>{WM_CLOSE, WM_DESTROY}));
  EXPECT_FALSE(IsWindow(b));
}

TEST_F(WindowManager, UpdateWindowPaintsAtOnceAndBeginPaintAsksForErasing) {
  InvalidateRect(a, nullptr, TRUE);
  UpdateWindow(a);
  // The default procedure's BeginPaint sent the erase message inside the paint.
  EXPECT_EQ(RecordingWindows::messages(), (std::vector<UINT>{WM_PAINT, WM_ERASEBKGND}));
  RecordingWindows::clear();
  UpdateWindow(a);  // valid: nothing
  EXPECT_TRUE(RecordingWindows::messages().empty());
}

// No operation of the stand-in makes one of the program's private messages.
TEST_F(WindowManager, TheStandInNeverMakesThePrivateMessages) {
  SetTimer(a, 1, 1, nullptr);
  InvalidateRect(a, nullptr, TRUE);
  CeHeadlessBackend::key(VK_UP, true);
  CeHeadlessBackend::key(VK_UP, false);
  CeHeadlessBackend::stylusDown(1, 2);
  CeHeadlessBackend::stylusDrag(3, 4);
  CeHeadlessBackend::stylusUp(3, 4);
  CeHeadlessBackend::activate(false);
  CeHeadlessBackend::activate(true);
  CeHeadlessBackend::minimise();
  changeOrientation(DMDO_90);
  std::this_thread::sleep_for(std::chrono::milliseconds(3));
  CeHeadlessBackend::close();
  drain();
  for (UINT message : RecordingWindows::messages()) {
    EXPECT_FALSE(message >= 1023 && message <= 1029) << message;
  }
  EXPECT_GE(RecordingWindows::messages().size(), 10u);
}

}  // namespace
