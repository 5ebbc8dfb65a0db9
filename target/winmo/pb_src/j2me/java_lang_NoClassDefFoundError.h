#pragma once

#include <cstdint>

#include "java_lang_Error.h"

namespace java::lang {

class NoClassDefFoundError : public Error {
  VM_EXCEPTION_CLASS(NoClassDefFoundError, Error)
};

}  // namespace java::lang
