#pragma once

// Ends the process after an unrecoverable runtime or platform error.
// Nothing is shown to the user: standard output is flushed and the process
// exits with code 1 without running exit-time destructors.
[[noreturn]] void _VM_fatalError(const char* message);

// The debug log of the runtime and the platform layer. It does nothing.
void _VM_debugLog(const char* format, ...);
