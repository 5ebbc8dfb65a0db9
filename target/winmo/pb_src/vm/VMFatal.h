#pragma once

// Ends the process after an unrecoverable runtime or platform error: the
// message goes to standard error as one line (the phone had no console, but
// here a silent exit would leave the user guessing), both standard streams
// are flushed and the process exits with code 1 without running exit-time
// destructors.
[[noreturn]] void _VM_fatalError(const char* message);

// The debug log of the runtime and the platform layer. It does nothing.
void _VM_debugLog(const char* format, ...);
