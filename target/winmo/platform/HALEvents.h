#pragma once

#include <cstdint>

#include "HALList.h"
#include "HALStatus.h"

// Platform events: the platform layer tells the runtime about lifecycle
// changes, input and display changes through numbered events. There is no
// queue: an event is delivered at once, on the thread that raises it (the
// main thread), under the global VM lock, to every listener whose mask
// contains the event's type. Listeners sit in three lists that are always
// walked in the same order: the runtime's own listeners (list 0), the display
// and other library listeners (list 1), the application manager's pause and
// destroy handling (list 2).

// Event types and their payload words.
constexpr int HAL_EVENT_PAUSE = 1;               // none: the application became inactive
constexpr int HAL_EVENT_RESUME = 2;              // none: the application became active again
constexpr int HAL_EVENT_EXIT = 3;                // none
constexpr int HAL_EVENT_TIME_ZONE_CHANGE = 4;    // none
constexpr int HAL_EVENT_SHOW_DISPLAYABLE = 5;    // the displayable's identifier
constexpr int HAL_EVENT_SIZE_CHANGE = 6;         // displayable, width, height
constexpr int HAL_EVENT_PAINT = 7;               // native graphics, displayable, width, height
constexpr int HAL_EVENT_KEY_PRESSED = 8;         // key code
constexpr int HAL_EVENT_KEY_RELEASED = 9;        // key code
constexpr int HAL_EVENT_KEY_REPEATED = 10;       // key code
constexpr int HAL_EVENT_POINTER_PRESSED = 11;    // x, y
constexpr int HAL_EVENT_POINTER_RELEASED = 12;   // x, y
constexpr int HAL_EVENT_POINTER_DRAGGED = 13;    // x, y
constexpr int HAL_EVENT_COMMAND = 15;            // the command's native id

// Result of HAL_broadcastEvent when a listener threw.
constexpr int HAL_EVENT_LISTENER_THREW = 2;

// The private window message that asks the main window to run the exit
// sequence.
constexpr uint32_t HAL_EXIT_MESSAGE = 1025;
// The private window message that asks the main window to run the queued
// serial calls.
constexpr uint32_t HAL_SERIAL_CALLS_MESSAGE = 1030;

// A listener: called with the event's type, its number of payload words and
// those words (null when there are none). The words live only for the call;
// a listener copies what it keeps.
using HALEventCallback = void (*)(int type, int count, const intptr_t* payload);

// A listener record: bit n of `mask` set means the listener takes events of
// type n.
struct HALEventListener {
  HALEventCallback callback;
  uint32_t mask;
};

// The listener lists, each holding HALEventListener records in the order of
// registration.
struct HALEventRegistry {
  static constexpr int kListCount = 3;
  HALList lists[kListCount];
};

// Creates the process's registry with three empty lists unless it exists.
// The VM creates it at start-up. Memory comes from the runtime allocator.
void HAL_createEventRegistry();
// Frees every listener record (of lists 2, 1 and 0, in that order), the
// lists and the registry; no registry exists afterwards. Nothing happens
// when none exists.
void HAL_deleteEventRegistry();
// The registry, or null when none exists.
HALEventRegistry* HAL_getEventRegistry();

// Appends a listener to list 0 (`list` 0), list 2 (`list` 2) or list 1 (any
// other value) and returns its record, or null when no registry exists or
// `callback` is null. Listeners are never removed one by one. The caller
// holds the global VM lock.
HALEventListener* HAL_addEventListener(HALEventCallback callback, uint32_t mask, int list);

// Delivers an event to the listeners of lists 0, 1 and 2, in order, whose
// mask has bit `type` set; types outside 1..31 reach nobody. Returns 0 when
// delivery completed (or no registry exists) and HAL_EVENT_LISTENER_THREW
// when a listener threw: the remaining listeners are skipped, a Java
// throwable's stack trace is printed, and no exception leaves the call.
// Runs on the caller's thread, which holds the global VM lock.
int HAL_broadcastEvent(int type, int count, const intptr_t* payload);

// Raises an event: does nothing once the exit sequence has begun or while
// no registry exists; otherwise hands the event to the VM's broadcast
// callback. With `takeLock` set it enters the global VM lock (and calls the
// VM's re-attach callback) around that; without it the caller holds the lock.
void HAL_sendEvent(int type, int count, const intptr_t* payload, bool takeLock);

// The exit sequence has begun: set by the application shell before it
// broadcasts the exit event; from then on HAL_sendEvent raises nothing.
void HAL_setExitStarted(bool started);
bool HAL_isExitStarted();

// Posts a message to the main window's queue and reports whether it was
// posted. The application shell installs it when it has made the window.
using HALMainWindowPoster = bool (*)(uint32_t message, uintptr_t wParam, intptr_t lParam);
// Installs the poster; null removes it (then nothing can be posted).
void HAL_setMainWindowPoster(HALMainWindowPoster poster);
// Posts `message` (no parameters) through the installed poster; false when
// none is installed or the post failed.
bool HAL_postToMainWindowIfAny(uint32_t message);

// Asks for the application's exit: posts HAL_EXIT_MESSAGE to the main
// window, whose handling runs the exit sequence. Returns 0.
HALStatus HAL_requestExit();

// Queues a routine and its argument to run once, later, on the main thread
// under the global VM lock, and posts HAL_SERIAL_CALLS_MESSAGE to the main
// window, whose handling runs the queue (HAL_runSerialCalls). Returns 0, or
// 2 for a null routine or when the queue cannot grow. Without a main window
// the routine waits for the next call that can post. Calls queued from one
// thread run in their order.
HALStatus HAL_callSerially(void (*routine)(void* argument), void* argument);

// Runs the routines queued before this call began, each once, in order,
// under the global VM lock (taken here); routines they queue run at the
// next call. Once the exit sequence has begun the queue is dropped unrun.
// Main thread only.
void HAL_runSerialCalls();
