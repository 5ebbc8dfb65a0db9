#pragma once

// The choice of the window backend: headless (no window) when `headless`
// is set or the environment variable JME_BACKEND is "headless", else the
// SDL2 window. False, after a one-line message on standard error, when the
// chosen backend cannot run.
bool HAL_chooseBackend(bool headless);
