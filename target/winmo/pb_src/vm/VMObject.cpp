#include "VMObject.h"

#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "HALLock.h"
#include "HALMemory.h"
#include "VMClassKit.h"
#include "VMHeap.h"
#include "VMMonitor.h"
#include "VMServices.h"
#include "VMThread.h"
#include "VMThrow.h"
#include "java_lang_Integer.h"
#include "java_lang_NullPointerException.h"
#include "java_lang_OutOfMemoryError.h"
#include "java_lang_StringBuffer.h"

VM_REGISTER_CLASS(java::lang::Object, "java.lang.Object", "", VM_INSTANTIABLE);

namespace {

VMObjectList objects;

// Set while the error that reports a full table is built: it may take the
// table's last entry, which every other object leaves free.
bool reportingFullTable = false;

// Makes room for one more entry in the table; false when no memory is left.
bool reserveTableEntry() {
  const uint32_t spare = reportingFullTable ? 0 : 1;
  if (objects.count + spare < objects.capacity) return true;
  const uint64_t capacity = objects.capacity == 0 ? 1024 : uint64_t{objects.capacity} * 2;
  if (capacity > UINT32_MAX) return false;
  // From the platform heap, like every block of the runtime.
  void* items = HAL_allocateMemory(capacity * sizeof(java::lang::Object*), 0);
  if (items == nullptr) return false;
  if (objects.count > 0) std::memcpy(items, objects.items, objects.count * sizeof(java::lang::Object*));
  HAL_freeMemory(objects.items);
  objects.items = static_cast<java::lang::Object**>(items);
  objects.capacity = static_cast<uint32_t>(capacity);
  return true;
}

// The table cannot grow: OutOfMemoryError, built in the entry kept for it.
[[noreturn]] void tableFull() {
  if (reportingFullTable) _VM_fatalError("Ran out of memory while trying to report an out of memory condition!");
  struct Reporting {
    Reporting() { reportingFullTable = true; }
    ~Reporting() { reportingFullTable = false; }
  } reporting;
  _VM_throwNew<java::lang::OutOfMemoryError>();
}

}  // namespace

void _VM_throwNullPointerException() { _VM_throwNew<java::lang::NullPointerException>(); }

void _VM_setExceptionInFlight(java::lang::Object* thrown) {
  if (_VM_currentThread != nullptr) _VM_currentThread->exceptionInFlight = thrown;
}

VMObjectList& _VM_objects() { return objects; }


namespace java::lang {

Object::Object()
    : _VM_index(objects.count),
      _VM_monitorOwner(0),
      _VM_monitorCount(0),
      _VM_monitorNotifies(0),
      _VM_monitorLock(nullptr),
      _VM_flags(VM_FLAG_CONSTRUCTING | VM_FLAG_REACHABLE) {
  // operator new made room for the entry.
  objects.items[objects.count++] = this;
}

Object::~Object() {
  Object* last = objects.items[--objects.count];
  objects.items[_VM_index] = last;
  last->_VM_index = _VM_index;
  if (_VM_monitorLock != nullptr) HAL_deleteLock(_VM_monitorLock);
  _VM_monitorLock = nullptr;
}

void* Object::operator new(size_t size) {
  if (!reserveTableEntry()) tableFull();
  void* p = _VM_alloc(size, true);
  // The allocation may have let other threads run (the allocator yields
  // between its collections), and their objects may have taken the entry
  // made above: make sure of it again, without letting anybody run.
  if (!reserveTableEntry()) {
    _VM_free(p);
    tableFull();
  }
  std::memset(p, 0, size);
  return p;
}

void Object::operator delete(void* block) { _VM_free(block); }

VMPtr<Object> Object::_VM_new() {
  VMPtr<Object> out(new Object());
  _VM_endConstruction(out.get());
  return out;
}

VMPtr<Object> Object::_VM_init() { return VMPtr<Object>(this); }

int32_t Object::hashCode() { return static_cast<int32_t>(reinterpret_cast<uintptr_t>(static_cast<Object*>(this))); }

uint8_t Object::equals(VMPtr<Object> other) { return other.get() == this; }

VMPtr<String> Object::toString() {
  VMPtr<StringBuffer> text = StringBuffer::_VM_new();
  text->_VM_init(getClass()->getName());
  text->append(u'@');
  text->append(Integer::toHexString(hashCode()));
  return text->toString();
}

void Object::finalize() {}

void Object::wait(int64_t timeout) { _VM_wait(this, timeout); }

void Object::wait() { _VM_wait(this, 0); }

void Object::notify() { _VM_notify(this); }

void Object::notifyAll() { _VM_notifyAll(this); }

Class* Object::_VM_getClass() { return _VM_class; }

VMPtr<Class> Object::getClass() { return VMPtr<Class>(_VM_getClass()); }

void Object::_VM_markReferences(int /*colour*/) {}

}  // namespace java::lang
