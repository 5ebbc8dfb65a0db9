#pragma once

#include "VMClassKit.h"

namespace tq {

// The video side of the engine's media manager. Its operations are fixed
// stubs in the one implementation (nothing plays video on this platform);
// they are declared with the media manager, which gives their arguments.
class MediaManagerVideo : public virtual java::lang::Object {
  VM_INTERFACE_CLASS(MediaManagerVideo)
};

}  // namespace tq
