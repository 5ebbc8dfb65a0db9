#pragma once

// The stop-the-world mark-and-sweep collector. Roots are the reference lists
// of the static, native and every thread's stack scope, and each thread's
// exception in flight; every object marks its own reference fields through
// _VM_markReferences. Marking uses an explicit work list, so deep object
// graphs cannot overflow the native stack.
//
// Rules for the code that runs inside a collection: _VM_markReferences only
// calls _VM_mark on its fields and its superclass's trace; destructors run by
// the sweep free their own blocks and touch no other Java object, allocate
// nothing and never block.

#include "VMObject.h"

class VMContext;

// Colours of the mark phase.
constexpr int VM_COLOUR_REACHED = VM_FLAG_REACHABLE | VM_FLAG_MARKED;  // 3
constexpr int VM_COLOUR_KEPT = VM_FLAG_MARKED;                          // 2

// One full collection. Does nothing before the VM allows collections, and
// returns at once when a collection is already running.
void _VM_collect(VMContext* vm);
// Collection of the current VM (for the allocator and Runtime.gc).
void _VM_collect();

// Marks `o` with `colour` and queues its fields for tracing, unless it is
// marked already. Only called from _VM_markReferences.
void _VM_mark(java::lang::Object* o, int colour);

template <class T>
inline void _VM_mark(const VMField<T>& field, int colour) {
  if (T* target = field.get()) _VM_mark(static_cast<java::lang::Object*>(target), colour);
}

// Marks every non-null field in `fields`.
template <class... T>
inline void _VM_markFields(int colour, const VMField<T>&... fields) {
  (_VM_mark(fields, colour), ...);
}

// While a collection runs: yields must not give the global lock away.
bool _VM_inNoYieldWindow();
// At the end of the VM's shutdown: from now on no yield gives the lock away.
void _VM_enterNoYieldWindowForGood();

// Called after a collection that found finalizable objects, outside the
// no-yield window: wakes (and on first use starts) the finalizer.
extern void (*_VM_finalizerHandOver)(VMContext* vm);

// Collects at every allocation when the environment variable JME_GC_STRESS
// is set to a non-empty value other than "0".
bool _VM_gcStressMode();
