#include "VMRef.h"

#include "VMServices.h"

constinit VMRefList _VM_staticList{nullptr};
constinit VMRefList _VM_nativeList{nullptr};
constinit VMRefList _VM_weakList{nullptr};
VMRefList* _VM_currentStackList = nullptr;

void _VM_noCurrentStackList() {
  _VM_fatalError("A stack reference was made on a thread that is not attached to the VM.");
}

void VMRef::unlinkSlow() {
  // A reference destroyed out of order: find the link that points at it.
  for (VMRef* r = list_->head; r != nullptr; r = r->next_) {
    if (r->next_ == this) {
      r->next_ = next_;
      return;
    }
  }
}

VMScopeKind VMRef::scope() const {
  if (list_ == &_VM_staticList) return VMScopeKind::Static;
  if (list_ == &_VM_nativeList) return VMScopeKind::Native;
  if (list_ == &_VM_weakList) return VMScopeKind::Weak;
  return VMScopeKind::Stack;
}

const char* _VM_scopeName(VMScopeKind kind) {
  switch (kind) {
    case VMScopeKind::Stack: return "stack scope";
    case VMScopeKind::Instance: return "instance scope";
    case VMScopeKind::Static: return "static scope";
    case VMScopeKind::Native: return "native scope";
    case VMScopeKind::Weak: return "weak scope";
  }
  return "";
}
