#include "HALUTF8.h"

#include "CeText.h"

void HAL_appendUTF8(std::string& out, uint32_t c) { CeText::appendUTF8(out, c); }
