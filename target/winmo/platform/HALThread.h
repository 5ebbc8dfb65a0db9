#pragma once

#include <cstdint>

#include "HALStatus.h"

// The function a platform thread runs; it receives the thread's data word.
using HALThreadEntry = void (*)(uintptr_t data);

// The platform's record of one operating-system thread (HALThreadRecord.h);
// the layers above hold it only through these functions.
struct HALThread;

// Makes a record that will run `entry(data)`; no operating-system thread is
// made yet. HAL_OK and the record in *out, or HAL_ILLEGAL_ARGUMENT_ERR (null
// `out`) or HAL_OUT_OF_MEMORY_ERR with *out null.
HALStatus HAL_createThread(HALThread** out, HALThreadEntry entry, uintptr_t data);
// Creates and runs the operating-system thread; a second call does nothing.
// HAL_OUT_OF_MEMORY_ERR when the system could not make the thread (the record
// then stays unstarted).
HALStatus HAL_startThread(HALThread* thread);
// Gives the calling thread (the application's main thread) its record, with
// no entry and no data; a thread that has one keeps it. 1 on success, 0 when
// the record could not be made.
int HAL_attachMainThread();
// The calling thread's record, or null when it has none.
HALThread* HAL_getCurrentThread();
// The data word of the calling thread's record (0 when it has none).
uintptr_t HAL_getCurrentThreadData();
// Stores `data` as the data word of `thread` (the calling thread's record).
void HAL_setCurrentThreadData(HALThread* thread, uintptr_t data);
// True once HAL_startThread made the record's operating-system thread.
bool HAL_hasThreadStarted(const HALThread* thread);
// True once the record's entry function has returned.
bool HAL_hasThreadFinished(const HALThread* thread);
// Sets the record's `cancelled` flag.
void HAL_cancelThread(HALThread* thread);
// Frees a record. A started thread must have finished (otherwise a fatal
// error); its operating-system thread is joined. A record never started is
// freed without running. An attached record is freed as well.
void HAL_deleteThread(HALThread* thread);
// Ends the armed sleep or wait of `thread` at once (null: nothing).
void HAL_wakeThread(HALThread* thread);
// Sleeps `milliseconds` (0xFFFFFFFF: until woken) without the global lock,
// then takes it back and calls the re-attach callback. 0 only lets the global
// lock go to waiting threads and takes it back.
void HAL_sleep(uint32_t milliseconds);
// Lets the threads waiting for the global lock run (HAL_yieldGlobalLock).
void HAL_yieldThread();
