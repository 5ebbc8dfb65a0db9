#include "java_lang_ClassNotFoundException.h"

VM_REGISTER_CLASS(java::lang::ClassNotFoundException, "java.lang.ClassNotFoundException", "java.lang.Exception", VM_INSTANTIABLE);

namespace java::lang {

VMPtr<ClassNotFoundException> ClassNotFoundException::_VM_init() {
  Exception::_VM_init();
  return VMPtr<ClassNotFoundException>(this);
}

}  // namespace java::lang
