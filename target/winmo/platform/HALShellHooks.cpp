#include "HALShellHooks.h"

// Weak do-nothing defaults; see HALShellHooks.h.
__attribute__((weak)) void HAL_initRecordStores() {}
__attribute__((weak)) void HAL_pauseAllPlayers() {}
__attribute__((weak)) void HAL_closeInternetSession() {}
__attribute__((weak)) void HAL_presentPendingScreen() {}
__attribute__((weak)) void HAL_resizeScreenBuffer(HALScreen*) {}
