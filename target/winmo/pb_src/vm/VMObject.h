#pragma once

#include <cstddef>
#include <cstdint>

#include "VMRef.h"

struct HALLock;

namespace java::lang {
class Class;
class String;
}

// Flags of the object header.
constexpr uint32_t VM_FLAG_REACHABLE = 0x1;     // reached from a root in this collection
constexpr uint32_t VM_FLAG_MARKED = 0x2;        // visited by the mark phase; kept by the sweep
constexpr uint32_t VM_FLAG_FINALIZABLE = 0x4;   // kept when unreached, handed to the finalizer
constexpr uint32_t VM_FLAG_FINALIZED = 0x8;     // finalize() has run
constexpr uint32_t VM_FLAG_CONSTRUCTING = 0x10; // under construction: survives every collection

namespace java::lang {

// The virtual base of every Java object. It carries the collector's links in
// the list of all objects, the monitor and the flags.
class Object {
 public:
  Object();
  virtual ~Object();
  Object(const Object&) = delete;
  Object& operator=(const Object&) = delete;

  // Java objects live on the runtime heap. New objects are zero-filled, so
  // every field starts at 0 or null; the deleting destructor frees the block.
  static void* operator new(size_t size);
  static void operator delete(void* block);

  // The class object of java.lang.Object, made at start-up.
  static Class* _VM_class;
  using _VM_Self = Object;
  static constexpr bool _VM_isInterfaceType = false;
  static Class* _VM_createClass();
  static void _VM_clinitCheck() {}

  // new Object()
  static VMPtr<Object> _VM_new();
  // The Java constructor Object(): does nothing.
  VMPtr<Object> _VM_init();

  // Identity hash code: the address of the object's Object part.
  virtual int32_t hashCode();
  virtual uint8_t equals(VMPtr<Object> other);
  virtual VMPtr<String> toString();
  virtual void finalize();
  // The monitor operations of Java (VMMonitor.h): wait(timeout) in ms (0 = no
  // limit, negative: IllegalArgumentException), wait() = wait(0); all four
  // throw IllegalMonitorStateException unless the current thread owns the
  // monitor; a wait may throw InterruptedException.
  void wait(int64_t timeout);
  void wait();
  void notify();
  void notifyAll();
  // Marks every reference field of the object (see VMCollector.h).
  virtual void _VM_markReferences(int colour);
  // The object's class; every class overrides it with its own class object.
  virtual Class* _VM_getClass();
  VMPtr<Class> getClass();

  uint32_t _VM_index;          // position in the table of all objects
  uintptr_t _VM_monitorOwner;  // current-thread word of the owner, 0 when free
  int32_t _VM_monitorCount;    // recursion depth of the owner
  int32_t _VM_monitorNotifies; // notifies of the owner not yet delivered (-1: all)
  HALLock* _VM_monitorLock;    // platform lock once inflated; deleted with the object
  uint32_t _VM_flags;
};

}  // namespace java::lang

// The table of every live object. A new object is appended; a destroyed one
// is replaced by the last entry. The collector scans it in index order: a
// sequential scan whose objects can be fetched ahead, where walking a list
// linked through the objects would wait for every object in turn.
struct VMObjectList {
  java::lang::Object** items = nullptr;
  uint32_t count = 0;
  uint32_t capacity = 0;
  java::lang::Object* operator[](uint32_t i) const { return items[i]; }
};
VMObjectList& _VM_objects();

// Clears the under-construction flag once the object is referenced.
inline void _VM_endConstruction(java::lang::Object* o) { o->_VM_flags &= ~VM_FLAG_CONSTRUCTING; }
