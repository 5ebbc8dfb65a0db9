#pragma once

#include "java_lang_Exception.h"

namespace javax::microedition::rms {

// A record store operation failed.
class RecordStoreException : public java::lang::Exception {
  VM_EXCEPTION_CLASS(RecordStoreException, java::lang::Exception)
};

}  // namespace javax::microedition::rms
