#pragma once

#include <cstdint>

// The host's SDL2 window: a real window of the phone's screen size (scaled
// up by a whole factor where the desktop has room), whose input becomes the
// phone's window messages: keys as virtual keys (arrows, Enter as select,
// F1 and F2 as the soft keys, digits, letters, '*' and '#' of the keypad,
// Escape and Backspace as back), the left mouse button as the stylus (with
// coordinates scaled back), focus and minimising as activation, closing as
// the close message. Only the main thread touches it. It draws nothing yet:
// presenting the screen comes with the screen subsystem.
namespace hostsdl {

// Starts SDL's video; false (and the reason in *error) when no display can
// be opened. SDL's own drivers without a screen ("dummy", "offscreen") count
// only when SDL_VIDEODRIVER names them.
bool start(const char** error);
bool active();
// Opens the window for the main window of the queue.
void openWindow(const char16_t* title, int32_t width, int32_t height);
// Turns the waiting SDL events into messages for `post`; returns whether
// any came.
using Poster = void (*)(uint32_t message, uintptr_t wParam, intptr_t lParam);
bool pump(Poster post);

}  // namespace hostsdl
