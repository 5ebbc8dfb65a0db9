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

// The display entry points of the lcdui classes: a canvas is a window
// object of the program's one window (HALWindow.h, HALWindowObject.h).
HALStatus HAL_createCanvas(HALWindowObject** out, intptr_t identifier);
HALStatus HAL_deleteCanvas(HALWindowObject* canvas);
// Makes the canvas the window's object and raises event 5 (the caller
// holds the global lock).
HALStatus HAL_setCurrentDisplayable(HALWindowObject* canvas);
// The switch runs on the main thread (HALWindowObject::requestFullScreen).
HALStatus HAL_setFullScreenMode(HALWindowObject* canvas, int on);
HALStatus HAL_getDisplayableSize(HALWindowObject* canvas, int32_t* width, int32_t* height);
// The main window's client area: the size of a displayable without a window
// record of its own (a Screen). 0 x 0 while there is no window.
void HAL_getClientAreaSize(int32_t* width, int32_t* height);
void HAL_getInputCapabilities(uint8_t* hasPointerEvents, uint8_t* hasPointerMotionEvents, uint8_t* hasRepeatEvents);
void HAL_getDisplayInfo(uint8_t* isColor, int32_t* numColors, int32_t* numAlphaLevels, int32_t* flag);
