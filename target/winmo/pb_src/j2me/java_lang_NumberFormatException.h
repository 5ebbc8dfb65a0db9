#pragma once

#include <cstdint>

#include "java_lang_IllegalArgumentException.h"

namespace java::lang {

class NumberFormatException : public IllegalArgumentException {
  VM_EXCEPTION_CLASS(NumberFormatException, IllegalArgumentException)
};

}  // namespace java::lang
