#pragma once

#include <string>

// Turns a command of the end-to-end test program into the message the
// phone would send to the main window; false for an unknown command.
bool testAppCommand(const std::string& command);
