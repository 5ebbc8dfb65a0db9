#pragma once

#include <cstddef>
#include <cstdint>

#include "HALStatus.h"

class HALString;
class HALStringMap;

// Named settings from three sources:
// - the built-in table of system properties, made on first use and kept for
//   the life of the process (8-bit keys and values);
// - the system property store (store 0), filled from "sys.prop" and then
//   given the device entries ("device.manufacturer", ..., "os.arch");
// - the application property store (store 1), filled from "app.prop" (the
//   MIDlet attributes, "MIDlet-1", "MIDlet-Name", ...).
// Both files live in the folder "properties" beside the program.
//
// File format: UTF-8 text (a byte sequence that is not UTF-8 is read as
// Latin-1, byte by byte; a leading byte-order mark is skipped). LF or CR LF
// ends a line; a last line without an end is kept whole. Each line is
// "key: value": the key is the text before the first ':', the value starts
// two characters after it (the colon and one separating blank) and runs to
// the end of the line, with no other trimming. A line without a colon is
// skipped; a colon at or next to the end of the line gives an empty value.
//
// Lookups walk a store from its last entry back, so a later line wins over
// an earlier one with the same key and the device entries win over
// "sys.prop". Keys match exactly (case-sensitive, whole key).
//
// The stores are filled on the main thread before the VM starts and freed
// after it is gone; in between they are only read.

constexpr int HAL_SYSTEM_PROPERTIES = 0;
constexpr int HAL_APPLICATION_PROPERTIES = 1;

// Reads "sys.prop" into store 0 and "app.prop" into store 1 (a missing or
// unreadable file leaves its store empty), then appends the six device
// entries to store 0. Stores that hold entries already are emptied first.
void HAL_loadProperties();
// Frees store 1, then store 0.
void HAL_freeProperties();

// Appends the entries of properties-file text to a store, in text order.
// An entry that cannot be allocated is left out.
void HAL_addPropertiesText(int store, const uint8_t* text, size_t size);
// Appends one entry; false when it cannot be allocated or `store` is
// neither 0 nor 1.
bool HAL_addProperty(int store, const char16_t* key, int32_t keyLength, const char16_t* value,
                     int32_t valueLength);
// Number of entries of a store (0 for an unknown store).
int32_t HAL_getPropertyCount(int store);

// The value's length in characters, or -1 when the key is absent, or when
// `key` is null with `keyLength` >= 1, or `keyLength` is negative.
int32_t HAL_getSystemPropertyLength(const char16_t* key, int32_t keyLength);
int32_t HAL_getApplicationPropertyLength(const char16_t* key, int32_t keyLength);
// Copies at most *inOutLength characters of the value to `buffer` (not
// terminated) and stores the number copied in *inOutLength.
// HAL_ILLEGAL_ARGUMENT_ERR for a null key with `keyLength` >= 1, a negative
// `keyLength`, a null `inOutLength`, a negative *inOutLength or a null
// `buffer` with a positive *inOutLength; HAL_NOT_FOUND_ERR when the key is
// absent.
HALStatus HAL_getSystemProperty(const char16_t* key, int32_t keyLength, char16_t* buffer, int32_t* inOutLength);
HALStatus HAL_getApplicationProperty(const char16_t* key, int32_t keyLength, char16_t* buffer,
                                     int32_t* inOutLength);

// The built-in table, made on the first call (may throw OutOfMemoryError
// from the runtime allocator; nothing is kept then). A duplicate key while
// making it is a fatal error "Duplicate property detected!".
HALStringMap* HAL_getBuiltinProperties();
// The value of `key` in `table`, or null.
const char* HAL_findBuiltinProperty(const HALStringMap* table, const char* key);

// The application property "MIDlet-Name" as a new wide string (one owner),
// or "_TQ_set_your_MIDlet-Name" when it is absent or empty; null when no
// memory is left.
HALString* HAL_getMIDletName();
