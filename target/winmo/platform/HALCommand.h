#pragma once

#include <cstdint>

#include "HALStatus.h"
#include "HALString.h"

// The platform's record of a command: its label (a copy of the characters
// it was made with), its type and its priority. The record's address is the
// command's native id, which the displayable functions take and the command
// event carries back.
//
// Ownership: made by HAL_createCommand, freed by HAL_deleteCommand.
struct HALCommand {
  HALString label;
  int32_t type = 0;
  int32_t priority = 0;
};

// Makes a command record. `chars` null (no characters at all) gives 2; an
// empty label is `length` 0 with a non-null `chars`. Stores the record
// through `out` when `out` is given (otherwise the record is freed again)
// and returns 0; 2 when the record could not be allocated.
HALStatus HAL_createCommand(HALCommand** out, const char16_t* chars, int32_t length, int32_t type,
                            int32_t priority);
// Frees a record; null gives 2.
HALStatus HAL_deleteCommand(HALCommand* command);
