#include "java_lang_System.h"

#include <cstring>

#include "HALClock.h"
#include "HALProperties.h"
#include "VMUTF8.h"
#include "VMThrow.h"
#include "com_ravelstone_brume_cldc_io_ConsoleOutputStream.h"
#include "java_lang_ArrayIndexOutOfBoundsException.h"
#include "java_lang_ArrayStoreException.h"
#include "java_lang_IllegalArgumentException.h"
#include "java_lang_NullPointerException.h"
#include "java_lang_Runtime.h"

VM_REGISTER_CLASS(java::lang::System, "java.lang.System", "java.lang.Object", VM_HAS_CLINIT);

namespace {

std::u16string decodeKey(const char* text) {
  std::u16string units;
  const auto* bytes = reinterpret_cast<const uint8_t*>(text);
  int32_t remaining = static_cast<int32_t>(std::strlen(text));
  while (remaining > 0) units.push_back(_VM_decodeUTF8Char(remaining, bytes, nullptr));
  return units;
}

// The built-in table first, then the system property store.
bool lookupPlatformProperty(const char* key, std::u16string& value) {
  if (const char* builtin = HAL_findBuiltinProperty(HAL_getBuiltinProperties(), key)) {
    value = decodeKey(builtin);
    return true;
  }
  const std::u16string name = decodeKey(key);
  const int32_t keyLength = static_cast<int32_t>(name.size());
  int32_t length = HAL_getSystemPropertyLength(name.data(), keyLength);
  if (length < 0) return false;
  value.assign(static_cast<size_t>(length), u'\0');
  if (HAL_getSystemProperty(name.data(), keyLength, value.data(), &length) != 0) return false;
  value.resize(static_cast<size_t>(length));
  return true;
}

}  // namespace

bool (*_VM_lookupSystemProperty)(const char* key, std::u16string& value) = lookupPlatformProperty;

namespace {

// printStackTrace's lines go to System.err.
void printlnToSystemErr(const char16_t* text, int32_t length) {
  java::lang::System::_VM_clinitCheck();
  java::lang::System::err->println(java::lang::String::_VM_fromUTF16(text, length));
}

struct StackTraceToSystemErr {
  StackTraceToSystemErr() { _VM_stackTracePrintln = printlnToSystemErr; }
} stackTraceToSystemErr;

}  // namespace

namespace java::lang {

VMStatic<java::io::PrintStream> System::out;
VMStatic<java::io::PrintStream> System::err;

int64_t System::currentTimeMillis() { return HAL_getCurrentTimeMillis(); }

VMPtr<String> System::getProperty(VMPtr<String> key) {
  if (!key) _VM_throwNew<NullPointerException>("key can't be null");
  if (key->length() == 0) _VM_throwNew<IllegalArgumentException>("key can't be empty");
  VMCString name;
  key->_VM_toCString(name);
  std::u16string value;
  if (_VM_lookupSystemProperty == nullptr || !_VM_lookupSystemProperty(name.c_str(), value)) return VMPtr<String>();
  return String::_VM_fromUTF16(value.data(), static_cast<int32_t>(value.size()));
}

void System::gc() { Runtime::getRuntime()->gc(); }

void System::exit(int32_t status) {
  Runtime::getRuntime()->exit(status);
  __builtin_unreachable();
}

void System::_VM_clinit() {
  VMPtr<com::ravelstone::brume::cldc::io::ConsoleOutputStream> console =
      com::ravelstone::brume::cldc::io::ConsoleOutputStream::_VM_new();
  console->_VM_init();
  VMPtr<java::io::PrintStream> stream = java::io::PrintStream::_VM_new();
  stream->_VM_init(console);
  out = stream;
  err = stream;
}

void System::arraycopy(VMPtr<Object> src, int32_t srcPos, VMPtr<Object> dst, int32_t dstPos, int32_t length) {
  if (!src || !dst) _VM_throwNullPointerException();
  auto* from = dynamic_cast<VMArray_Base*>(src.get());
  auto* to = dynamic_cast<VMArray_Base*>(dst.get());
  if (from == nullptr || to == nullptr) _VM_throwNew<ArrayStoreException>();
  _VM_arraycopy(from, srcPos, to, dstPos, length);
}

void System::_VM_arraycopy(VMArray_Base* src, int32_t srcPos, VMArray_Base* dst, int32_t dstPos, int32_t length) {
  // Both primitive of one kind, or both reference arrays.
  if (src->_VM_kind != dst->_VM_kind) _VM_throwNew<ArrayStoreException>();
  if (srcPos < 0 || dstPos < 0 || length < 0 || int64_t{srcPos} + length > src->length ||
      int64_t{dstPos} + length > dst->length) {
    _VM_throwNew<ArrayIndexOutOfBoundsException>();
  }
  if (length == 0) return;
  if (src->_VM_kind != VM_KIND_REFERENCE || src->_VM_elementClass == dst->_VM_elementClass) {
    // One element type: one block move (memmove handles overlap in one array).
    const size_t size = static_cast<size_t>(dst->_VM_elementSize);
    std::memmove(static_cast<char*>(dst->_VM_data) + size * static_cast<size_t>(dstPos),
                 static_cast<const char*>(src->_VM_data) + size * static_cast<size_t>(srcPos),
                 size * static_cast<size_t>(length));
    return;
  }
  // Different element classes store the element pointers differently, so
  // each element goes through the untyped access with the store check. Two
  // arrays of different classes are different arrays, so nothing overlaps.
  for (int32_t i = 0; i < length; ++i) dst->setObject(dstPos + i, src->getObject(srcPos + i));
}

}  // namespace java::lang
