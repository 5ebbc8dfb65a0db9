// The main window with window objects: showing a canvas, size changes,
// deleting the current object, keys through the
// pre-translation and stylus messages, and the display entry points.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HALCallbacks.h"
#include "HALDisplayable.h"
#include "HALEvents.h"
#include "HALOrientation.h"
#include "HALProperties.h"
#include "HALShell.h"
#include "HALWindow.h"
#include "HALWindowObject.h"
#include "ShellTestSupport.h"

using namespace ce;

namespace {

std::vector<std::vector<intptr_t>> events;  // type first, then the payload

int recordEvent(int type, int count, const intptr_t* payload) {
  std::vector<intptr_t> event{type};
  event.insert(event.end(), payload, payload + count);
  events.push_back(event);
  return 0;
}

class Window : public testing::Test {
 protected:
  void SetUp() override {
    ShellTestFolder::instance().use();
    HAL_loadProperties();  // the name of this process's own lock
    VMCallbacks table{nullptr, recordEvent, nullptr, nullptr, nullptr, nullptr};
    HAL_setVMCallbacks(&table);
    HAL_createEventRegistry();
    ASSERT_EQ(HAL_createMainWindow(nullptr, 1), 1);
  }
  // Dispatches every queued message as the loop does.
  void pump() {
    MSG msg;
    while (PeekMessageW(&msg, HAL_getMainWindow(), 0, 0, PM_REMOVE)) HAL_dispatchMessage(&msg);
  }
};

TEST_F(Window, CanvasShowsResizesAndGoesAway) {
  HALWindowObject* canvas = nullptr;
  ASSERT_EQ(HAL_createCanvas(&canvas, 77), HAL_OK);
  EXPECT_EQ(HAL_createCanvas(nullptr, 1), HAL_ILLEGAL_ARGUMENT_ERR);
  int32_t width = 0, height = 0;
  ASSERT_EQ(HAL_getDisplayableSize(canvas, &width, &height), HAL_OK);
  // The window starts with the default size: the work area.
  RECT area{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  EXPECT_EQ(width, area.right - area.left);
  EXPECT_EQ(height, area.bottom - area.top);
  EXPECT_EQ(HAL_getDisplayableSize(nullptr, &width, &height), HAL_ILLEGAL_ARGUMENT_ERR);

  HAL_setCurrentDisplayable(canvas);
  EXPECT_EQ(HAL_getWindowObject(), canvas);
  MoveWindow(HAL_getMainWindow(), 0, 0, 320, 240, TRUE);
  MoveWindow(HAL_getMainWindow(), 0, 0, 320, 240, TRUE);  // no change: no event
  const std::vector<std::vector<intptr_t>> expected = {{HAL_EVENT_SHOW_DISPLAYABLE, 77},
                                                       {HAL_EVENT_SIZE_CHANGE, 77, 320, 240}};
  EXPECT_EQ(events, expected);
  // Back to the whole screen. No shell runs, so this thread is not the main
  // thread: the switch waits for the main window's next message.
  EXPECT_EQ(HAL_setFullScreenMode(canvas, 1), HAL_OK);
  EXPECT_TRUE(canvas->isFullScreen());
  EXPECT_EQ(canvas->width(), 320);
  pump();
  EXPECT_EQ(canvas->width(), GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(events.back(), (std::vector<intptr_t>{HAL_EVENT_SIZE_CHANGE, 77, GetSystemMetrics(SM_CXSCREEN),
                                                  GetSystemMetrics(SM_CYSCREEN)}));

  HAL_deleteCanvas(canvas);
  EXPECT_EQ(HAL_getWindowObject(), nullptr);
}

TEST_F(Window, KeysAreTranslatedBeforeTheyArriveAndStylusIsSigned) {
  HALWindowObject* canvas = nullptr;
  ASSERT_EQ(HAL_createCanvas(&canvas, 5), HAL_OK);
  HAL_setCurrentDisplayable(canvas);
  events.clear();
  HWND window = HAL_getMainWindow();
  PostMessageW(window, WM_KEYDOWN, 'A', 0);  // makes the character 'a' first
  PostMessageW(window, WM_KEYUP, 'A', 0);
  PostMessageW(window, WM_KEYDOWN, 38, 0);
  PostMessageW(window, WM_LBUTTONDOWN, 1, static_cast<LPARAM>((0xFFFDu << 16) | 0xFFFBu));
  PostMessageW(window, WM_MOUSEMOVE, 0, 0);  // no button: nothing
  pump();
  const std::vector<std::vector<intptr_t>> expected = {
      {HAL_EVENT_KEY_PRESSED, 'a'}, {HAL_EVENT_KEY_RELEASED, 'a'}, {HAL_EVENT_KEY_PRESSED, -1},
      {HAL_EVENT_POINTER_PRESSED, -5, -3}};
  EXPECT_EQ(events, expected);
  HAL_deleteCanvas(canvas);
}

TEST_F(Window, OrientationMessagesReachTheDisplay) {
  HAL_initOrientation();
  PostMessageW(HAL_getMainWindow(), HAL_MSG_ORIENTATION, 2, 0);
  pump();
  int32_t code = -1;
  HAL_getOrientation(&code);
  EXPECT_EQ(code, 3);  // the system's 180° value
  // A requested orientation comes back after the settings change.
  EXPECT_EQ(HAL_setOrientation(2), HAL_OK);
  CeDisplay::setOrientation(0);
  PostMessageW(HAL_getMainWindow(), WM_SETTINGCHANGE, 0x3002, 0);
  pump();
  HAL_getOrientation(&code);
  EXPECT_EQ(code, 2);
}

TEST_F(Window, DisplayFacts) {
  uint8_t pointer = 9, motion = 9, repeat = 9;
  HAL_getInputCapabilities(&pointer, &motion, &repeat);
  EXPECT_EQ(pointer, 0);
  EXPECT_EQ(motion, 0);
  EXPECT_EQ(repeat, 1);
  HAL_getInputCapabilities(nullptr, nullptr, nullptr);
  uint8_t color = 0;
  int32_t colors = 0, alpha = 0, flag = 0;
  HAL_getDisplayInfo(&color, &colors, &alpha, &flag);
  EXPECT_EQ(color, 1);
  EXPECT_EQ(colors, 65536);
  EXPECT_EQ(alpha, 32);
  EXPECT_EQ(flag, 1);
}

TEST_F(Window, SecondWindowOfTheSameNameIsRefused) {
  // The lock is held by this process's first window.
  EXPECT_EQ(HAL_createMainWindow(nullptr, 1), 0);
}

}  // namespace
