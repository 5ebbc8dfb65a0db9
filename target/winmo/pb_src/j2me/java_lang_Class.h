#pragma once

#include <cstdint>
#include <typeinfo>

#include "HALList.h"
#include "VMCString.h"
#include "VMClassMacros.h"
#include "VMObject.h"

namespace java::io {
class InputStream;
}

// Array element kinds (the JVM's newarray codes, and 1 for references).
constexpr int32_t VM_KIND_REFERENCE = 1;
constexpr int32_t VM_KIND_BOOLEAN = 4;
constexpr int32_t VM_KIND_CHAR = 5;
constexpr int32_t VM_KIND_FLOAT = 6;
constexpr int32_t VM_KIND_DOUBLE = 7;
constexpr int32_t VM_KIND_BYTE = 8;
constexpr int32_t VM_KIND_SHORT = 9;
constexpr int32_t VM_KIND_INT = 10;
constexpr int32_t VM_KIND_LONG = 11;

// The boot class's entry function.
using VMEntryPoint = void (*)(intptr_t argument);
// Builds an instance for Class.newInstance: new X, then X's Java no-argument constructor.
using VMInstantiator = VMPtr<java::lang::Object> (*)();

namespace java::lang {

class String;

// One per Java class and per array type in use: made at start-up (array
// classes on first use), kept in the class registry under its dotted name
// and pinned for the life of the process.
class Class final : public virtual Object {
  VM_CLASS(Class, Object)

 public:
  enum State : int32_t { kReady = 0, kPending = 1, kRunning = 2, kFailed = 3 };

  // Registers the new class object under `name`.
  Class(const char* name, const char* superName, const char* sourceFile, void (*clinit)(),
        VMInstantiator instantiator, uint8_t isInterface, uint8_t isAbstract, int32_t dimensions,
        int32_t elementKind, Class* elementClass);

  // Java methods.
  VMPtr<String> getName();
  VMPtr<String> toString() override;
  static VMPtr<Class> forName(VMPtr<String> name);
  VMPtr<Object> newInstance();
  uint8_t isInstance(VMPtr<Object> object);
  uint8_t isAssignableFrom(VMPtr<Class> other);
  uint8_t isInterface() { return _VM_isInterface; }
  uint8_t isArray() { return _VM_dimensions > 0; }
  VMPtr<java::io::InputStream> getResourceAsStream(VMPtr<String> name);

  // resolveName for getResourceAsStream: a leading '/' is dropped; any
  // other name gets the class's package path in front.
  VMCString _VM_resolveName(const char* name) const;
  // Stores the boot entry function (start-up).
  void _VM_setEntryPoint(VMEntryPoint entry) { _VM_entryPoint = entry; }

  int32_t _VM_state;
  uintptr_t _VM_initThread;  // thread running the static initialiser, 0 when none
  HALList _VM_interfaces;    // Class* of the declared interfaces
  uint8_t _VM_superResolved;
  Class* _VM_superclass;
  VMCString _VM_name;
  VMCString _VM_superName;
  VMCString _VM_sourceFile;
  void (*_VM_clinit)();
  VMInstantiator _VM_instantiator;
  VMEntryPoint _VM_entryPoint;
  uint8_t _VM_isInterface;
  uint8_t _VM_isAbstract;
  int32_t _VM_dimensions;
  int32_t _VM_elementKind;
  Class* _VM_elementClass;
  VMNative<Class> _VM_self;
  // The C++ class of a registered class (null for array classes): what the
  // start-up check compares the registration with.
  const std::type_info* _VM_type = nullptr;
};

}  // namespace java::lang

inline bool _VM_classReady(const java::lang::Class* c) { return c->_VM_state == java::lang::Class::kReady; }

// Opens a resource stream for Class.getResourceAsStream; filled in by the
// resource stream code. Returns null when the resource cannot be opened.
extern VMPtr<java::io::InputStream> (*_VM_openResourceStream)(const char* path);
