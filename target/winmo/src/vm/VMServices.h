#pragma once

#include <cstddef>

// The runtime as the platform layer sees it. Apart from the callbacks table
// (HALCallbacks.h) and the event listeners (HALEvents.h), which the runtime
// fills in at start-up, these few functions are all the platform layer may
// call in the runtime; its include folders hold this header and no other of
// the runtime's, so any further include does not compile.

// Ends the process after an unrecoverable runtime or platform error: the
// message goes to standard error as one line (the phone had no console, but
// here a silent exit would leave the user guessing), both standard streams
// are flushed and the process exits with code 1 without running exit-time
// destructors.
[[noreturn]] void _VM_fatalError(const char* message);

// The debug log of the runtime and the platform layer. It does nothing.
void _VM_debugLog(const char* format, ...);

// `size` bytes from the runtime's allocator, for records of the runtime and
// the platform layer (list nodes, map entries, listener records); never
// null. When the heap is full it collects and retries, then throws
// OutOfMemoryError (with a current thread) or ends the process.
void* _VM_operatorNew(size_t size);
// Frees a block of _VM_operatorNew; null is ignored.
void _VM_free(void* block);

// Called inside a `catch (...)` around code that ran Java code (an event
// listener): prints the stack trace of a Java exception being handled and
// swallows it; anything else (the exit carrier of a leaving thread) is
// swallowed without a word. Never throws.
void _VM_reportEscapedException();
