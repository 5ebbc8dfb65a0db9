#pragma once

#include "VMClassKit.h"

namespace generated::entity {

// Constants of the build naming the item entities a level can hold. The
// code that uses them has the values compiled in, so at run time this is
// only a registered interface, with no superclass and no static state.
class SpecialItem : public virtual java::lang::Object {
  VM_INTERFACE_CLASS(SpecialItem)
};

}  // namespace generated::entity
