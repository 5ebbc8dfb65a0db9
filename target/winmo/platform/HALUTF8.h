#pragma once

#include <cstdint>
#include <string>

// Appends the UTF-8 form of one code point (at most U+10FFFF) to `out`.
void HAL_appendUTF8(std::string& out, uint32_t c);
