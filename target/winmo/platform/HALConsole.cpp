#include "HALConsole.h"

#include <cstdio>

HALStatus HAL_writeConsoleChar(int c) {
  if (std::fputc(static_cast<unsigned char>(c), stdout) == EOF) return HAL_END_OF_DATA_ERR;
  if (c == 10 && std::fflush(stdout) != 0) return HAL_END_OF_DATA_ERR;
  return HAL_OK;
}
