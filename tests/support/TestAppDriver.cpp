#include "TestAppDriver.h"

#include <cstdio>

#include "CeHeadlessBackend.h"

// Each command is what the headless backend injects for it: the window's
// focus, the device's power, the window's close button.
bool testAppCommand(const std::string& command) {
  if (command == "pause") {
    CeHeadlessBackend::activate(false);
  } else if (command == "resume") {
    CeHeadlessBackend::activate(true);
  } else if (command == "power-off") {
    CeHeadlessBackend::power(false);
  } else if (command == "power-on") {
    CeHeadlessBackend::power(true);
  } else if (command == "close") {
    CeHeadlessBackend::close();
  } else {
    return false;
  }
  return true;
}

void testAppReadCommands(const std::function<void(const std::string&)>& handle) {
  char line[512];
  while (std::fgets(line, sizeof line, stdin)) {
    std::string command(line);
    while (!command.empty() && (command.back() == '\n' || command.back() == '\r')) command.pop_back();
    if (handle) {
      handle(command);
    } else {
      testAppCommand(command);
    }
  }
}
