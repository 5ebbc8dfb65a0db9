#include "VMObject.h"

#include <cstdio>
#include <cstring>

#include "VMClassKit.h"
#include "HALLock.h"
#include "VMHeap.h"
#include "VMMonitor.h"
#include "VMThread.h"
#include "VMThrow.h"
#include "java_lang_Integer.h"
#include "java_lang_NullPointerException.h"
#include "java_lang_StringBuffer.h"

VM_REGISTER_CLASS(java::lang::Object, "java.lang.Object", "", VM_INSTANTIABLE);

namespace {
VMObjectList objects;
}

void _VM_throwNullPointerException() { _VM_throwNew<java::lang::NullPointerException>(); }

void _VM_setExceptionInFlight(java::lang::Object* thrown) {
  if (_VM_currentThread != nullptr) _VM_currentThread->exceptionInFlight = thrown;
}

VMObjectList& _VM_objects() { return objects; }


namespace java::lang {

Object::Object()
    : _VM_next(objects.head),
      _VM_prev(nullptr),
      _VM_monitorOwner(0),
      _VM_monitorCount(0),
      _VM_monitorNotifies(0),
      _VM_monitorLock(nullptr),
      _VM_flags(VM_FLAG_CONSTRUCTING | VM_FLAG_REACHABLE) {
  if (objects.head != nullptr) objects.head->_VM_prev = this;
  objects.head = this;
  ++objects.count;
}

Object::~Object() {
  if (_VM_prev != nullptr) {
    _VM_prev->_VM_next = _VM_next;
  } else {
    objects.head = _VM_next;
  }
  if (_VM_next != nullptr) _VM_next->_VM_prev = _VM_prev;
  --objects.count;
  if (_VM_monitorLock != nullptr) HAL_deleteLock(_VM_monitorLock);
  _VM_monitorLock = nullptr;
}

void* Object::operator new(size_t size) {
  void* p = _VM_alloc(size, true);
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
