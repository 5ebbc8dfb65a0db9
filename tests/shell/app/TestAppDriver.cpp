#include "TestAppDriver.h"

#include "HALWindow.h"

using namespace hostwin;

bool testAppCommand(const std::string& command) {
  struct Row {
    const char* command;
    uint32_t message;
    uintptr_t wParam;
  };
  static const Row kRows[] = {
      {"pause", WM_ACTIVATE, 0},        {"resume", WM_ACTIVATE, 1},
      {"power-off", HAL_MSG_POWER, 0},  {"power-on", HAL_MSG_POWER, 1},
      {"close", WM_CLOSE, 0},
  };
  for (const Row& row : kRows) {
    if (command == row.command) return HAL_postToMainWindow(row.message, row.wParam, 0);
  }
  return false;
}
