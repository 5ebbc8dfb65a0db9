#pragma once

#include <cstdint>

#include "java_lang_Throwable.h"

namespace java::lang {

class Error : public Throwable {
  VM_EXCEPTION_CLASS(Error, Throwable)
};

}  // namespace java::lang
