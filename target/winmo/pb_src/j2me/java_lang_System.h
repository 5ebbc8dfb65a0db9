#pragma once

#include <cstdint>
#include <string>

#include "VMArray.h"
#include "VMClassKit.h"
#include "java_io_PrintStream.h"

namespace java::lang {

class System : public virtual Object {
  VM_CLASS(System, Object)

 public:
  // Copies `length` elements of the array `src` from `srcPos` on into the
  // array `dst` from `dstPos` on, with Java's checks in Java's order:
  //   null src or dst                                  NullPointerException
  //   not arrays, different primitive kinds, or a
  //   primitive array against a reference array        ArrayStoreException
  //   a negative position or length, or a range past
  //   the end of either array                          ArrayIndexOutOfBoundsException
  // Overlapping ranges of one array copy as if through a temporary. Reference
  // elements whose class the destination cannot hold are store-checked one
  // by one: ArrayStoreException at the first that fails, the earlier ones
  // stay copied.
  static void arraycopy(VMPtr<Object> src, int32_t srcPos, VMPtr<Object> dst, int32_t dstPos, int32_t length);

  // The same for two arrays the runtime already holds (no null test): the
  // kind, bounds and store checks and the copy.
  static void _VM_arraycopy(VMArray_Base* src, int32_t srcPos, VMArray_Base* dst, int32_t dstPos, int32_t length);

  // Standard output and standard error: one PrintStream over one console
  // stream, made by the static initializer. printStackTrace writes its
  // lines through `err`.
  static VMStatic<java::io::PrintStream> out;
  static VMStatic<java::io::PrintStream> err;
  static void _VM_clinit();

  // Milliseconds since 1970-01-01 00:00 UTC.
  static int64_t currentTimeMillis();
  // A system property: null key -> NullPointerException ("key can't be
  // null"), empty key -> IllegalArgumentException ("key can't be empty");
  // null when the property does not exist.
  static VMPtr<String> getProperty(VMPtr<String> key);
  // Runtime.getRuntime().gc() and .exit(status).
  static void gc();
  [[noreturn]] static void exit(int32_t status);
};

}  // namespace java::lang

// Where getProperty looks a key (modified UTF-8) up: true and the value's
// UTF-16 units in `value` when the property exists. By default the
// platform's built-in table, then its system property store; tests may put
// their own lookup in its place.
extern bool (*_VM_lookupSystemProperty)(const char* key, std::u16string& value);
