#include "javax_microedition_media_MediaException.h"

VM_REGISTER_CLASS(javax::microedition::media::MediaException, "javax.microedition.media.MediaException", "java.lang.Exception", VM_INSTANTIABLE);
