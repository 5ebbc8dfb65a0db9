// Must not compile: a class declared with VM_CLASS registered as an
// interface (the build test expects the class kit's message).
// error: VM_INTERFACE is given exactly to the classes declared with VM_INTERFACE_CLASS
#include "VMClassKit.h"

namespace bad {
class NotAnInterface : public virtual java::lang::Object {
  VM_CLASS(NotAnInterface, java::lang::Object)
};
}  // namespace bad

VM_REGISTER_CLASS(bad::NotAnInterface, "bad.NotAnInterface", "java.lang.Object", VM_INTERFACE);
