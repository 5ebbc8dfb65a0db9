#pragma once

#include "HALStatus.h"

// Writes the low 8 bits of `c` to the process's standard output; after a
// line feed (10) standard output is flushed. HAL_END_OF_DATA_ERR when the
// write or the flush fails, else HAL_OK.
HALStatus HAL_writeConsoleChar(int c);
