#pragma once

// Outcome of every platform function that can fail; 0 is success. The
// calling class turns any other code into an exception or a fatal error.
using HALStatus = int;

constexpr HALStatus HAL_OK = 0;
// The operation is not provided by this platform.
constexpr HALStatus HAL_NOT_IMPLEMENTED_ERR = 1;
// A null or out-of-range argument, or a general failure.
constexpr HALStatus HAL_ILLEGAL_ARGUMENT_ERR = 2;
// No more data (end of a reply body, failed console write).
constexpr HALStatus HAL_END_OF_DATA_ERR = 3;
// The named thing does not exist (record store, property, connection target).
constexpr HALStatus HAL_NOT_FOUND_ERR = 4;
// An allocation failed.
constexpr HALStatus HAL_OUT_OF_MEMORY_ERR = 5;
// The data is malformed or the device refused it.
constexpr HALStatus HAL_BAD_FORMAT_ERR = 6;
// A file or device input/output operation failed.
constexpr HALStatus HAL_IO_ERR = 7;
// An orientation code outside 0..4, or the display refused the orientation.
constexpr HALStatus HAL_BAD_ORIENTATION_ERR = 8;
