#include "HALCommand.h"

#include <new>

HALStatus HAL_createCommand(HALCommand** out, const char16_t* chars, int32_t length, int32_t type,
                            int32_t priority) {
  if (chars == nullptr) return HAL_ILLEGAL_ARGUMENT_ERR;
  HALCommand* command = new (std::nothrow) HALCommand;
  if (command == nullptr) return HAL_ILLEGAL_ARGUMENT_ERR;
  if (!command->label.initFromChars(chars, length)) {
    delete command;
    return HAL_ILLEGAL_ARGUMENT_ERR;
  }
  command->type = type;
  command->priority = priority;
  if (out == nullptr) {
    delete command;
  } else {
    *out = command;
  }
  return HAL_OK;
}

HALStatus HAL_deleteCommand(HALCommand* command) {
  if (command == nullptr) return HAL_ILLEGAL_ARGUMENT_ERR;
  delete command;
  return HAL_OK;
}
