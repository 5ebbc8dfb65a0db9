#include "VMClassRegistry.h"

#include <new>

#include "VMClassKit.h"
#include "VMFatal.h"
#include "VMHeap.h"
#include "VMMonitor.h"
#include "VMSynchronized.h"
#include "VMThread.h"
#include "VMThrow.h"
#include "java_lang_Error.h"
#include "java_lang_ExceptionInInitializerError.h"
#include "java_lang_NoClassDefFoundError.h"
#include "java_lang_Throwable.h"

using java::lang::Class;

namespace {

// FIFO start-up lists; zero-initialised before any static initialiser runs.
template <class Record>
struct StartupList {
  Record* head;
  Record* tail;
  void add(Record* r) {
    if (tail != nullptr) {
      tail->next = r;
    } else {
      head = r;
    }
    tail = r;
  }
};

constinit StartupList<VMClassCreatorRecord> creators{};
constinit StartupList<VMInterfaceRecord> interfaceRecords{};
constinit StartupList<VMEntryPointRecord> entryPoints{};

uintptr_t currentThreadWord() { return reinterpret_cast<uintptr_t>(_VM_currentThread); }

void finishInitialization(Class* c, int32_t state) {
  VMSynchronized monitor(c);
  c->_VM_state = state;
  c->_VM_initThread = 0;
  c->notifyAll();
}

}  // namespace

VMClassCreatorRecord::VMClassCreatorRecord(Class* (*create)()) : create(create) { creators.add(this); }

VMInterfaceRecord::VMInterfaceRecord(Class** classGlobal, const char* interfaceName)
    : classGlobal(classGlobal), interfaceName(interfaceName) {
  interfaceRecords.add(this);
}

VMEntryPointRecord::VMEntryPointRecord(Class** classGlobal, VMEntryPoint entry)
    : classGlobal(classGlobal), entry(entry) {
  entryPoints.add(this);
}

VMClassRegistry* _VM_getClassRegistry() {
  // Made once and kept for the life of the process: class objects never die.
  static VMClassRegistry* registry = new (_VM_operatorNew(sizeof(VMClassRegistry))) VMClassRegistry();
  return registry;
}

void _VM_registerClass(const char* name, Class* c) {
  if (VMCString(name).equals("_VM_bad_array")) _VM_fatalError("Attempt to use invalid type with a java array!");
  VMClassRegistry* registry = _VM_getClassRegistry();
  if (registry->classes.get(name, nullptr)) _VM_fatalError("Duplicate class detected!");
  registry->classes.put(name, c);
}

Class* _VM_findClass(const char* name) {
  void* value = nullptr;
  return _VM_getClassRegistry()->classes.get(name, &value) ? static_cast<Class*>(value) : nullptr;
}

Class* _VM_getObjectClass() {
  VMClassRegistry* registry = _VM_getClassRegistry();
  if (registry->objectClass == nullptr) registry->objectClass = _VM_findClass("java.lang.Object");
  return registry->objectClass;
}

Class* _VM_getSuperclass(Class* c) {
  VMClassRegistry* registry = _VM_getClassRegistry();
  if (registry->classesResolved && c->_VM_superResolved) return c->_VM_superclass;
  Class* super = c->_VM_superName.length() > 0 ? _VM_findClass(c->_VM_superName.c_str()) : nullptr;
  if (super != nullptr || registry->classesResolved) {
    c->_VM_superclass = super;
    c->_VM_superResolved = 1;
  }
  return super;
}

void _VM_setClassesResolved() { _VM_getClassRegistry()->classesResolved = 1; }

void _VM_registerInterface(Class* c, const char* interfaceName) {
  if (interfaceName == nullptr) return;
  Class* interface = _VM_findClass(interfaceName);
  if (interface == nullptr) _VM_fatalError("Class for interface not found in _VM_registerInterface()!");
  c->_VM_interfaces.addLast(interface);
}

bool _VM_implementsInterface(Class* c, Class* interface) {
  if (c == interface) return true;
  Class* objectClass = _VM_getObjectClass();
  for (Class* k = c; k != nullptr && k != objectClass; k = _VM_getSuperclass(k)) {
    for (HALListNode* n = k->_VM_interfaces.getFirst(); n != nullptr; n = n->next) {
      if (_VM_implementsInterface(static_cast<Class*>(n->value), interface)) return true;
    }
  }
  return false;
}

bool _VM_isAssignableFrom(Class* from, Class* to) {
  if (from == to || to == _VM_getObjectClass()) return true;
  if (to->_VM_dimensions > 0) {
    if (from->_VM_dimensions == 0) return false;
    Class* fromElement = from->_VM_elementClass;
    Class* toElement = to->_VM_elementClass;
    // A primitive element type is assignable only to the same primitive
    // element type: int[] is not an Object[].
    if ((fromElement == nullptr) != (toElement == nullptr)) return false;
    if (fromElement == nullptr) return from->_VM_elementKind == to->_VM_elementKind;
    return _VM_isAssignableFrom(fromElement, toElement);
  }
  if (to->_VM_isInterface) return from->_VM_dimensions == 0 && _VM_implementsInterface(from, to);
  if (from->_VM_dimensions > 0 || from->_VM_isInterface) return false;
  Class* objectClass = _VM_getObjectClass();
  for (Class* k = from; k != nullptr && k != objectClass; k = _VM_getSuperclass(k)) {
    if (k == to) return true;
  }
  return false;
}

bool _VM_instanceOf(java::lang::Object* object, Class* c) {
  return object != nullptr && _VM_isAssignableFrom(object->_VM_getClass(), c);
}

void _VM_appendArrayClassName(VMCString& name, Class* elementClass, int32_t dimensions) {
  for (int32_t i = elementClass->_VM_dimensions; i < dimensions; ++i) name.append("[");
  if (elementClass->_VM_dimensions == 0) {
    name.append("L");
    name.append(elementClass->_VM_name.c_str());
    name.append(";");
  } else {
    name.append(elementClass->_VM_name.c_str());
  }
}

void _VM_ensureInitialized(Class* c) {
  if (c->_VM_state == Class::kReady) return;
  if (c->_VM_state == Class::kFailed) _VM_throwNew<java::lang::NoClassDefFoundError>();
  _VM_initializeClass(c);
}

void _VM_initializeClass(Class* c) {
  const uintptr_t self = currentThreadWord();
  {
    VMSynchronized monitor(c);
    // Another thread initialises the class: wait until it has finished. An
    // interrupt does not fail the initialisation; it stays pending.
    while (c->_VM_initThread != 0 && c->_VM_initThread != self) _VM_waitUninterruptibly(c);
    if (c->_VM_state == Class::kRunning && c->_VM_initThread == self) return;  // recursive request
    if (c->_VM_state == Class::kReady) return;
    if (c->_VM_state == Class::kFailed) {
      _VM_throwNew<java::lang::NoClassDefFoundError>(c->_VM_name.c_str());
    }
    c->_VM_state = Class::kRunning;
    c->_VM_initThread = self;
  }
  try {
    if (!c->_VM_isInterface) {
      Class* super = _VM_getSuperclass(c);
      if (super != nullptr && super->_VM_state != Class::kReady) _VM_ensureInitialized(super);
    }
    if (c->_VM_clinit != nullptr) c->_VM_clinit();
  } catch (java::lang::Throwable* t) {
    VMPtr<java::lang::Throwable> thrown(t);
    finishInitialization(c, Class::kFailed);
    if (!_VM_instanceOf(t, java::lang::Error::_VM_class)) {
      VMPtr<java::lang::ExceptionInInitializerError> wrapper = java::lang::ExceptionInInitializerError::_VM_new();
      wrapper->_VM_init(thrown);
      thrown = wrapper;
    }
    _VM_throw(thrown);
  } catch (...) {
    // Not a Java throwable (the exit carrier): the class still fails, and
    // the object goes on unchanged.
    finishInitialization(c, Class::kFailed);
    throw;
  }
  finishInitialization(c, Class::kReady);
}

void _VM_createClasses() {
  for (VMClassCreatorRecord* r = creators.head; r != nullptr; r = r->next) r->create();
}

void _VM_registerInterfaces() {
  for (VMInterfaceRecord* r = interfaceRecords.head; r != nullptr; r = r->next) {
    _VM_registerInterface(*r->classGlobal, r->interfaceName);
  }
}

void _VM_registerEntryPoints() {
  for (VMEntryPointRecord* r = entryPoints.head; r != nullptr; r = r->next) {
    (*r->classGlobal)->_VM_setEntryPoint(r->entry);
  }
}
