#pragma once

#include "HALStringMap.h"
#include "java_lang_Class.h"

// The registry of every class object by dotted name.
struct VMClassRegistry {
  HALStringMap classes;
  java::lang::Class* objectClass = nullptr;  // java.lang.Object, cached on first use
  uint8_t classesResolved = 0;               // superclass lookups may be cached
};

VMClassRegistry* _VM_getClassRegistry();

// Registers `c` under `name`; a duplicate name is a fatal error.
void _VM_registerClass(const char* name, java::lang::Class* c);
// The class registered under `name`, or null.
java::lang::Class* _VM_findClass(const char* name);
java::lang::Class* _VM_getObjectClass();
java::lang::Class* _VM_getSuperclass(java::lang::Class* c);
void _VM_setClassesResolved();
// Adds the named interface to the class's interface list.
void _VM_registerInterface(java::lang::Class* c, const char* interfaceName);

// Type tests behind instanceof, casts and array stores.
bool _VM_implementsInterface(java::lang::Class* c, java::lang::Class* interface);
bool _VM_isAssignableFrom(java::lang::Class* from, java::lang::Class* to);
bool _VM_instanceOf(java::lang::Object* object, java::lang::Class* c);

// Appends the name of the array class of `dimensions` dimensions over
// `elementClass` ("[Ljava.lang.String;", "[[I" ...).
void _VM_appendArrayClassName(VMCString& name, java::lang::Class* elementClass, int32_t dimensions);

// Runs a class's static initialisation (superclass first); see
// _VM_ensureInitialized for the fast path.
void _VM_initializeClass(java::lang::Class* c);

// Start-up lists, filled by static initialisers before main and walked by
// the VM's start-up in list order.
struct VMClassCreatorRecord {
  explicit VMClassCreatorRecord(java::lang::Class* (*create)());
  VMClassCreatorRecord* next = nullptr;
  java::lang::Class* (*create)();
  java::lang::Class* made = nullptr;  // the class object, once start-up made it
};
struct VMInterfaceRecord {
  VMInterfaceRecord(java::lang::Class** classGlobal, const char* interfaceName);
  VMInterfaceRecord* next = nullptr;
  java::lang::Class** classGlobal;
  const char* interfaceName;
};
struct VMEntryPointRecord {
  VMEntryPointRecord(java::lang::Class** classGlobal, VMEntryPoint entry);
  VMEntryPointRecord* next = nullptr;
  java::lang::Class** classGlobal;
  VMEntryPoint entry;
};

// Start-up: makes every class object, then records the interfaces, then
// the entry points.
void _VM_createClasses();
void _VM_registerInterfaces();
// Start-up, after the interfaces: checks every registered class against its
// C++ class, so that the type tests (instanceof, isAssignableFrom, store
// checks) can never disagree with catch clauses and casts. The registered
// superclass must be the C++ superclass (java.lang.Object when the class
// has no other Java class among its bases), every Java interface among the
// C++ bases must be implemented as registered, and every VM_IMPLEMENTS must
// name a C++ base. Each disagreement is reported on standard error with the
// class's name, then start-up ends with a fatal error. Returns the number of
// classes checked.
int32_t _VM_checkClassRegistrations();
void _VM_registerEntryPoints();
