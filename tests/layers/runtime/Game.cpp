// Must not compile: the runtime does not see the engine and the game.
// error: tq_platform_brume_TqBrume.h: No such file
#include "java_lang_String.h"
#include "tq_platform_brume_TqBrume.h"
