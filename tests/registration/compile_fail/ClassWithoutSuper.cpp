// Must not compile: a class that does not name its superclass. Its Base
// would be the superclass's own Base, so Child's Base::_VM_init() below
// would run Grand's constructor and skip Parent's.
// error: VM_CLASS names the superclass: VM_CLASS\(Child, Super\)
#include "VMClassKit.h"

namespace bad {
class Grand : public virtual java::lang::Object {
  VM_CLASS(Grand, java::lang::Object)

 public:
  VMPtr<Grand> _VM_init() {
    Base::_VM_init();
    return VMPtr<Grand>(this);
  }
};
class Parent : public Grand {
  VM_CLASS(Parent, Grand)

 public:
  VMPtr<Parent> _VM_init() {
    Base::_VM_init();
    ready = 1;
    return VMPtr<Parent>(this);
  }
  int32_t ready;
};
class Child : public Parent {
  VM_CLASS(Child)

 public:
  VMPtr<Child> _VM_init() {
    Base::_VM_init();
    return VMPtr<Child>(this);
  }
};
}  // namespace bad

VM_REGISTER_CLASS(bad::Grand, "bad.Grand", "java.lang.Object", VM_INSTANTIABLE);
VM_REGISTER_CLASS(bad::Parent, "bad.Parent", "bad.Grand", VM_INSTANTIABLE);
VM_REGISTER_CLASS(bad::Child, "bad.Child", "bad.Parent", VM_INSTANTIABLE);
