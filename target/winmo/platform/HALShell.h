#pragma once

#include <cstdint>

// The application shell: the program's native frame. The entry point hands
// the platform layer the VM's callback table (HAL_setVMCallbacks) and calls
// HAL_runApplication, which
// 1. starts up in a fixed order (HAL_initialize): the main thread's id, the
//    memory reserve, the properties, the single-instance lock and the main
//    window, the main thread's record, the power-notification thread, the
//    record-store lock, the display orientation, the font cache, the
//    optional vendor libraries, and last the VM with the application
//    manager as its boot class, on the main thread under the global lock;
// 2. runs the message loop until the window is gone (HAL_runMessageLoop);
// 3. shuts down in a fixed order (HAL_shutdown) and returns the exit code.
//
// The main thread runs every window procedure, every event delivery and
// every screen presentation. While the application is active (window
// active and power on) the loop drains the queue under the global lock and
// presents a pending screen, then waits without the lock until a message
// comes (a flush from another thread posts one); otherwise it blocks for
// the next message without the lock and takes the lock for that message.
//
// Exit codes: the quit message's code (0) when the loop ends while active;
// 1 when start-up fails, when the loop ends while inactive, after a fatal
// error, or after the application asked for a failed exit.

namespace ce {
struct tagMSG;
}

// The whole run: start-up, message loop, shutdown. Returns the exit code.
int HAL_runApplication(void* instance, int showCommand);
// 1 when every step of start-up succeeded, else 0.
int HAL_initialize(void* instance, int showCommand);
// Starts the VM with the application manager as boot class under the
// global lock; a failing start is a fatal error.
void HAL_startApplicationManager();
// Runs the loop until the window is gone; returns the exit code.
int HAL_runMessageLoop();
// 0 for the quit message, else 1 after dispatching `msg` (key messages go
// through the key pre-translation first).
int HAL_dispatchMessage(ce::tagMSG* msg);
// The exit sequence (close and exit messages): no event from here on, the
// exit event, the VM destroyed. It runs once, however often it is asked for.
void HAL_exitApplication();
// Asks for the exit sequence (as HAL_requestExit does) and makes the run's
// exit code 1 however the loop ends: the application failed.
void HAL_requestFailedExit();
// Runs a collection when the VM exists (private message 1023).
void HAL_collectGarbage();
// Releases what start-up acquired, in order.
void HAL_shutdown();

// Active-state tracking: a change of the window's activation or of the
// power makes the application inactive (event 1, every player paused) or
// active again (event 2). All three flags start set.
void HAL_setWindowActive(bool active);
void HAL_setPowerOn(bool on);
void HAL_updateActiveState();
bool HAL_isRunning();

// The VM's two heap sizes for `available` bytes of memory: a tenth (rounded
// down) and the rest.
void HAL_getHeapSizes(uint64_t available, uint64_t* first, uint64_t* second);

// True on the thread that started the application (the main thread).
bool HAL_isMainThread();

// The boot class the shell starts.
constexpr const char* HAL_BOOT_CLASS = "com.ravelstone.brume.AMS";
