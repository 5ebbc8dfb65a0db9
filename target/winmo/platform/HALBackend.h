#pragma once

// The choice of the window backend: headless (no window) when `headless`
// is set or the environment variable JME_BACKEND is "headless", else an
// SDL2 window (SDL's own variables apply: SDL_VIDEODRIVER=dummy runs it
// without a display). False, after a one-line message on standard error,
// when no SDL2 window can be opened.
bool HAL_chooseBackend(bool headless);
