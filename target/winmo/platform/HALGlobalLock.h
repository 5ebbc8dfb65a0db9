#pragma once

// The global VM lock: one process-wide lock that every thread holds while it
// runs code of the object model.
//
// It is recursive (a thread may enter it again while holding it; it is free
// again after as many leaves as enters) and fair: threads get it in the order
// in which they asked for it, so a yield really hands it to a waiting thread.
// It is made on first use and never destroyed.
//
// Lock order: a thread never blocks on a HALLock or another long-held lock
// while it holds the global lock; it suspends the global lock first and
// resumes it afterwards.

// Takes the global lock (or one more level of it). The caller calls the
// re-attach callback itself where runtime code follows.
void HAL_enterGlobalLock();
// Gives up one level of the global lock. Leaving a lock the calling thread
// does not hold is a fatal error.
void HAL_leaveGlobalLock();
// Hands the global lock to the threads waiting for it: releases every level,
// queues behind those waiting, takes all levels back when its turn comes and
// calls the re-attach callback. Does nothing when the calling thread does not
// hold the lock.
void HAL_yieldGlobalLock();

// Around a blocking call: releases every level the calling thread holds and
// returns their number (0 when it held none).
int HAL_suspendGlobalLock();
// Takes `levels` levels of the global lock back and calls the re-attach
// callback; does nothing when `levels` is 0.
void HAL_resumeGlobalLock(int levels);

// Probes for tests: the number of threads blocked waiting for the global lock
// (a yielding thread counts until it has the lock back), and whether the
// calling thread holds it.
int HAL_countGlobalLockWaiters();
bool HAL_holdsGlobalLock();
