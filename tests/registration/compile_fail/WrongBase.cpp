// Must not compile: the Base given to VM_CLASS is not the class's C++
// superclass.
// error: X::Base is X's superclass
// compiler: GNU
#include "VMClassKit.h"

namespace bad {
class Parent : public virtual java::lang::Object {
  VM_CLASS(Parent, java::lang::Object)
};
class Child : public Parent {
  VM_CLASS(Child, java::lang::Object)
};
}  // namespace bad

VM_REGISTER_CLASS(bad::Parent, "bad.Parent", "java.lang.Object", VM_INSTANTIABLE);
VM_REGISTER_CLASS(bad::Child, "bad.Child", "bad.Parent", VM_INSTANTIABLE);
