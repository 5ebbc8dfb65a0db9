#pragma once

#include <cstdint>

#include "java_lang_Exception.h"

namespace javax::microedition::media {

class MediaException : public java::lang::Exception {
  VM_EXCEPTION_CLASS(MediaException, java::lang::Exception)
};

}  // namespace javax::microedition::media
