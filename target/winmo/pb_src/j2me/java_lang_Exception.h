#pragma once

#include <cstdint>

#include "java_lang_Throwable.h"

namespace java::lang {

class Exception : public Throwable {
  VM_EXCEPTION_CLASS(Exception, Throwable)
};

}  // namespace java::lang
