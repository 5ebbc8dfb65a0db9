#pragma once

#include <cstdint>

#include "java_lang_Exception.h"

namespace javax::microedition::media {

class MediaException : public java::lang::Exception {
  VM_THROWABLE_CLASS(MediaException)

 public:
  VMPtr<MediaException> _VM_init();
  VMPtr<MediaException> _VM_init(VMPtr<java::lang::String> message);
};

}  // namespace javax::microedition::media
