#include "java_lang_Class.h"

#include <cstring>
#include <string>

#include "VMClassKit.h"
#include "VMClassRegistry.h"
#include "VMThrow.h"
#include "java_lang_ClassNotFoundException.h"
#include "java_lang_IllegalAccessException.h"
#include "java_lang_InstantiationException.h"
#include "java_lang_String.h"
#include "java_lang_StringBuffer.h"
#include "java_io_InputStream.h"

VM_REGISTER_CLASS(java::lang::Class, "java.lang.Class", "java.lang.Object", 0);

VMPtr<java::io::InputStream> (*_VM_openResourceStream)(const char* path) = nullptr;

namespace {

// The source path of a class file relative to the project, without its
// extension ("target/winmo/pb_src/j2me/java_lang_Class").
std::string sourcePath(const char* file) {
  std::string path = file != nullptr ? file : "";
  if (path.rfind(JME_SOURCE_DIR, 0) == 0) path.erase(0, std::strlen(JME_SOURCE_DIR));
  const size_t dot = path.rfind('.');
  const size_t slash = path.rfind('/');
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) path.erase(dot);
  return path;
}

}  // namespace

java::lang::Class* _VM_createClassObject(const char* name, const char* superName, const char* sourceFile,
                                         void (*clinit)(), VMInstantiator instantiator, uint8_t isInterface,
                                         uint8_t isAbstract, const std::type_info* type) {
  java::lang::Class* c = new java::lang::Class(name, superName, sourcePath(sourceFile).c_str(), clinit, instantiator,
                                               isInterface, isAbstract, 0, 0, nullptr);
  c->_VM_type = type;
  return c;
}

namespace java::lang {

Class::Class(const char* name, const char* superName, const char* sourceFile, void (*clinit)(),
             VMInstantiator instantiator, uint8_t isInterface, uint8_t isAbstract, int32_t dimensions,
             int32_t elementKind, Class* elementClass)
    : _VM_state(clinit != nullptr ? kPending : kReady),
      _VM_initThread(0),
      _VM_superResolved(0),
      _VM_superclass(nullptr),
      _VM_name(name),
      _VM_superName(superName),
      _VM_sourceFile(sourceFile),
      _VM_clinit(clinit),
      _VM_instantiator(instantiator),
      _VM_entryPoint(nullptr),
      _VM_isInterface(isInterface),
      _VM_isAbstract(isAbstract),
      _VM_dimensions(dimensions),
      _VM_elementKind(elementKind),
      _VM_elementClass(elementClass),
      _VM_self(this) {
  _VM_registerClass(name, this);
  _VM_endConstruction(this);
}

VMPtr<String> Class::getName() { return String::_VM_fromUTF8(_VM_name.c_str()); }

VMPtr<String> Class::toString() {
  VMPtr<StringBuffer> text = StringBuffer::_VM_new();
  text->_VM_init(_VM_isInterface ? "interface " : "class ");
  text->append(getName());
  return text->toString();
}

VMPtr<Class> Class::forName(VMPtr<String> name) {
  VMCString key;
  name->_VM_toCString(key);
  Class* c = _VM_findClass(key.c_str());
  if (c == nullptr) _VM_throwNew<ClassNotFoundException>();
  return VMPtr<Class>(c);
}

VMPtr<Object> Class::newInstance() {
  if (_VM_dimensions > 0 || _VM_isInterface || _VM_isAbstract) _VM_throwNew<InstantiationException>();
  if (_VM_instantiator == nullptr) _VM_throwNew<IllegalAccessException>();
  VMPtr<Object> object = _VM_instantiator();
  if (!object) _VM_throwNew<IllegalAccessException>();
  return object;
}

uint8_t Class::isInstance(VMPtr<Object> object) { return _VM_instanceOf(object.get(), this); }

uint8_t Class::isAssignableFrom(VMPtr<Class> other) { return _VM_isAssignableFrom(other.operator->(), this); }

VMCString Class::_VM_resolveName(const char* name) const {
  if (name[0] == '/') return VMCString(name + 1);
  const char* lastDot = std::strrchr(_VM_name.c_str(), '.');
  if (lastDot == nullptr) return VMCString(name);
  std::string prefix(_VM_name.c_str(), static_cast<size_t>(lastDot - _VM_name.c_str()) + 1);
  for (char& ch : prefix) {
    if (ch == '.') ch = '/';
  }
  VMCString resolved(prefix.c_str());
  resolved.append(name);
  return resolved;
}

VMPtr<java::io::InputStream> Class::getResourceAsStream(VMPtr<String> name) {
  VMCString key;
  name->_VM_toCString(key);
  if (_VM_openResourceStream == nullptr) return VMPtr<java::io::InputStream>();
  return _VM_openResourceStream(_VM_resolveName(key.c_str()).c_str());
}

}  // namespace java::lang
