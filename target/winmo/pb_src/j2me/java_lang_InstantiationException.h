#pragma once

#include <cstdint>

#include "java_lang_Exception.h"

namespace java::lang {

class InstantiationException : public Exception {
  VM_EXCEPTION_CLASS(InstantiationException, Exception)
};

}  // namespace java::lang
