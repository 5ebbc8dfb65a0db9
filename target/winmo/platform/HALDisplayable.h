#pragma once

#include <cstdint>

#include "HALStatus.h"

class HALWindowObject;
struct HALCommand;

// What a displayable shows besides its content: title, ticker and commands.
// The program's one window has no title bar, ticker or command bar of the
// displayable's own, so the window object takes these and shows nothing;
// each call succeeds. A displayable keeps its title, ticker and commands
// itself and answers for them.
HALStatus HAL_setDisplayableTitle(HALWindowObject* displayable, const char16_t* chars, int32_t length);
HALStatus HAL_setDisplayableTicker(HALWindowObject* displayable, const char16_t* chars, int32_t length);
HALStatus HAL_addDisplayableCommand(HALWindowObject* displayable, HALCommand* command);
HALStatus HAL_removeDisplayableCommand(HALWindowObject* displayable, HALCommand* command);
