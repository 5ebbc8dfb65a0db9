#pragma once

#include <cstdint>

#include "HALStatus.h"

// The application's resource files: plain files in the folder "rsc" beside
// the program (the program directory of the device profile). A name is the
// path inside that folder, with '/' or '\' between folders. A name that
// would leave the folder (one that starts with a separator or has a ".."
// step) and a name of anything but a regular file are not found.
//
// Handles are read at an explicit offset on every call, so several handles
// on one file, or several readers of one handle, never disturb each other.
struct HALResource;

// Opens the resource `name` of `length` UTF-16 units. Null `handle` or
// `name`, or `length` <= 0: HAL_ILLEGAL_ARGUMENT_ERR. No memory for the
// path or the handle: HAL_OUT_OF_MEMORY_ERR. No such resource:
// HAL_NOT_FOUND_ERR with *handle set to null. Else HAL_OK and the handle.
HALStatus HAL_openResource(HALResource** handle, const char16_t* name, int32_t length);

// Reads up to *count bytes at `offset` from the start of the file into
// `destination` and replaces *count by the bytes read (0 at or past the end
// of the file). Null `handle`, `destination` or `count`, or a negative
// offset or count: HAL_ILLEGAL_ARGUMENT_ERR; a failed read: HAL_IO_ERR.
HALStatus HAL_readResource(HALResource* handle, uint8_t* destination, int32_t offset, int32_t* count);

// The file's current size in bytes (at most INT32_MAX); -1 for a null
// handle.
int32_t HAL_getResourceSize(HALResource* handle);

// Closes the handle; null is ignored.
void HAL_closeResource(HALResource* handle);

// The platform's identity for the system properties: "WindowsMobile" and
// "1", static text.
const char* HAL_getPlatformName();
const char* HAL_getPlatformVersion();
