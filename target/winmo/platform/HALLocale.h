#pragma once

// The user's locale as the system properties give it: "it-it", "fr-fr",
// "pt-pt", "de-de", "es-es", "ru" or "en-us" (every other language). A new
// zero-terminated string from HAL_allocateBuffer (the caller frees it with
// HAL_freeBuffer), or null when the locale cannot be read or the buffer
// cannot be allocated.
char* HAL_getLocaleName();
