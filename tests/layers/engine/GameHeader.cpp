// Must not compile: the engine does not see the game.
// error: main_CommonCanvas.h: No such file
#include "java_lang_String.h"
#include "main_CommonCanvas.h"
