#include "javax_microedition_media_MediaException.h"

VM_REGISTER_CLASS(javax::microedition::media::MediaException, "javax.microedition.media.MediaException", "java.lang.Exception", VM_INSTANTIABLE);

namespace javax::microedition::media {

VMPtr<MediaException> MediaException::_VM_init() {
  java::lang::Exception::_VM_init();
  return VMPtr<MediaException>(this);
}

VMPtr<MediaException> MediaException::_VM_init(VMPtr<java::lang::String> message) {
  java::lang::Exception::_VM_init(message);
  return VMPtr<MediaException>(this);
}

}  // namespace javax::microedition::media
