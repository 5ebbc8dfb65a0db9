#include "HALDisplayable.h"

HALStatus HAL_setDisplayableTitle(HALWindowObject*, const char16_t*, int32_t) { return HAL_OK; }

HALStatus HAL_setDisplayableTicker(HALWindowObject*, const char16_t*, int32_t) { return HAL_OK; }

HALStatus HAL_addDisplayableCommand(HALWindowObject*, HALCommand*) { return HAL_OK; }

HALStatus HAL_removeDisplayableCommand(HALWindowObject*, HALCommand*) { return HAL_OK; }
