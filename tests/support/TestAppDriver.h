#pragma once

#include <functional>
#include <string>

// Turns a command of the end-to-end test program into the message the
// phone would send to the main window; false for an unknown command.
bool testAppCommand(const std::string& command);

// Reads commands from standard input until it ends, one a line without its
// line break, and hands each to `handle` (by default testAppCommand);
// programs run it on a thread of its own.
void testAppReadCommands(const std::function<void(const std::string&)>& handle = {});
