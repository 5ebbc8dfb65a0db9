#pragma once

// Scoped references. Java code never holds a bare pointer to an object: every
// reference lives in one of five scopes, and the scope decides whether the
// collector sees it as a root.
//
//   VMPtr<T>        locals, temporaries, arguments and results: linked into
//                   the stack list of the thread that made it (a root)
//   VMField<T>      reference fields of objects: in no list; the owner's
//                   _VM_markReferences reaches it
//   VMStatic<T>     class statics and global references (a root)
//   VMNative<T>     references held by runtime or platform code (a root)
//   VMWeak<T>       references that do not keep their target alive; the
//                   collector clears them when the target dies
//
// The scope follows from the type of the variable, so a field or a static can
// never land in a stack list by mistake: copying any reference into a new
// VMPtr makes a stack reference, and assignment only stores the target.

#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace java::lang {
class Object;
}

class VMRef;

// A singly linked list of references: a thread's stack list or the list of
// the static, native or weak scope.
struct VMRefList {
  VMRef* head;
};

// Lists of the three global scopes. Zero-initialised before any dynamic
// initialiser runs, so statics may be constructed in any order before main.
extern constinit VMRefList _VM_staticList;
extern constinit VMRefList _VM_nativeList;
extern constinit VMRefList _VM_weakList;

// Head of the stack list of the thread that holds the global VM lock; null
// while no thread is attached. Repointed whenever a thread (re)enters the VM.
extern VMRefList* _VM_currentStackList;

// Called when a stack reference is made while no thread is attached.
[[noreturn]] void _VM_noCurrentStackList();
// Java semantics of a call through a null reference.
[[noreturn]] void _VM_throwNullPointerException();

enum class VMScopeKind : uint8_t { Stack, Instance, Static, Native, Weak };

// Name of a scope, as the runtime reports it ("stack scope" ...).
const char* _VM_scopeName(VMScopeKind kind);

// Untyped base of every listed reference.
class VMRef {
 public:
  // The target as its java.lang.Object part (null stays null).
  virtual java::lang::Object* getObject() const = 0;
  virtual void clear() = 0;
  bool isNull() const { return getObject() == nullptr; }

  VMRef* _VM_next() const { return next_; }
  VMScopeKind scope() const;

 protected:
  explicit VMRef(VMRefList* list) : next_(nullptr), list_(list) { link(); }
  ~VMRef() { unlink(); }
  VMRef(const VMRef&) = delete;
  VMRef& operator=(const VMRef&) = delete;

 private:
  void link() {
    next_ = list_->head;
    list_->head = this;
  }
  void unlink() {
    VMRef* head = list_->head;
    if (head == this) {
      list_->head = next_;  // the usual case: references die in nested order
    } else if (head != nullptr && head->next_ == this) {
      head->next_ = next_;  // a result made while a guard or argument lived
    } else {
      unlinkSlow();
    }
  }
  void unlinkSlow();

  VMRef* next_;
  VMRefList* list_;
};

inline VMRefList* _VM_stackListOrDie() {
  VMRefList* list = _VM_currentStackList;
  if (list == nullptr) [[unlikely]] _VM_noCurrentStackList();
  return list;
}

template <class T> class VMField;

// Marks a type as a reference wrapper whose target converts to T*.
template <class From, class T>
concept VMConvertibleTarget = std::is_convertible_v<From*, T*>;

// A stack-scope reference (or, through the wrappers below, a static, native
// or weak one).
template <class T>
class VMPtr : public VMRef {
 public:
  VMPtr() : VMRef(_VM_stackListOrDie()), target_(nullptr) {}
  VMPtr(std::nullptr_t) : VMPtr() {}
  explicit VMPtr(T* target) : VMRef(_VM_stackListOrDie()), target_(target) {}
  VMPtr(const VMPtr& other) : VMRef(_VM_stackListOrDie()), target_(other.target_) {}
  template <class U>
    requires VMConvertibleTarget<U, T>
  VMPtr(const VMPtr<U>& other) : VMRef(_VM_stackListOrDie()), target_(other.get()) {}
  template <class U>
    requires VMConvertibleTarget<U, T>
  VMPtr(const VMField<U>& other) : VMRef(_VM_stackListOrDie()), target_(other.get()) {}

  VMPtr& operator=(const VMPtr& other) {
    target_ = other.target_;
    return *this;
  }
  template <class U>
    requires VMConvertibleTarget<U, T>
  VMPtr& operator=(const VMPtr<U>& other) {
    target_ = other.get();
    return *this;
  }
  template <class U>
    requires VMConvertibleTarget<U, T>
  VMPtr& operator=(const VMField<U>& other) {
    target_ = other.get();
    return *this;
  }
  VMPtr& operator=(std::nullptr_t) {
    target_ = nullptr;
    return *this;
  }

  java::lang::Object* getObject() const override { return target_; }
  void clear() override { target_ = nullptr; }
  bool isNull() const { return target_ == nullptr; }

  T* get() const { return target_; }
  T* operator->() const {
    if (target_ == nullptr) [[unlikely]] _VM_throwNullPointerException();
    return target_;
  }
  T& operator*() const { return *operator->(); }
  explicit operator bool() const { return target_ != nullptr; }

 protected:
  VMPtr(VMRefList* list, T* target) : VMRef(list), target_(target) {}

 private:
  T* target_;
};

// A reference field of an object. It is in no list: the owning object's
// _VM_markReferences marks it. The object allocator zero-fills new objects,
// so a field starts null.
template <class T>
class VMField {
 public:
  VMField() : target_(nullptr) {}
  VMField(const VMField&) = delete;

  template <class U>
    requires VMConvertibleTarget<U, T>
  VMField& operator=(const VMPtr<U>& other) {
    target_ = other.get();
    return *this;
  }
  template <class U>
    requires VMConvertibleTarget<U, T>
  VMField& operator=(const VMField<U>& other) {
    target_ = other.get();
    return *this;
  }
  VMField& operator=(const VMField& other) {
    target_ = other.target_;
    return *this;
  }
  VMField& operator=(std::nullptr_t) {
    target_ = nullptr;
    return *this;
  }

  java::lang::Object* getObject() const { return target_; }
  void clear() { target_ = nullptr; }
  bool isNull() const { return target_ == nullptr; }
  T* get() const { return target_; }
  T* operator->() const {
    if (target_ == nullptr) [[unlikely]] _VM_throwNullPointerException();
    return target_;
  }
  T& operator*() const { return *operator->(); }
  explicit operator bool() const { return target_ != nullptr; }

 private:
  T* target_;
};

// Shared body of the three global-scope wrappers.
template <class T, VMRefList* List>
class VMGlobalPtr : public VMPtr<T> {
 public:
  VMGlobalPtr() : VMPtr<T>(List, nullptr) {}
  explicit VMGlobalPtr(T* target) : VMPtr<T>(List, target) {}
  template <class U>
    requires VMConvertibleTarget<U, T>
  VMGlobalPtr(const VMPtr<U>& other) : VMPtr<T>(List, other.get()) {}
  VMGlobalPtr(const VMGlobalPtr&) = delete;
  using VMPtr<T>::operator=;
  VMGlobalPtr& operator=(const VMGlobalPtr& other) {
    VMPtr<T>::operator=(other);
    return *this;
  }
};

template <class T> using VMStatic = VMGlobalPtr<T, &_VM_staticList>;
template <class T> using VMNative = VMGlobalPtr<T, &_VM_nativeList>;
template <class T> using VMWeak = VMGlobalPtr<T, &_VM_weakList>;

// Java == and != compare the objects, whatever the static types.
template <class A, class B>
bool operator==(const VMPtr<A>& a, const VMPtr<B>& b) {
  return a.getObject() == b.getObject();
}
template <class A>
bool operator==(const VMPtr<A>& a, std::nullptr_t) {
  return a.isNull();
}
template <class A, class B>
bool operator==(const VMField<A>& a, const VMPtr<B>& b) {
  return a.getObject() == b.getObject();
}
template <class A>
bool operator==(const VMField<A>& a, std::nullptr_t) {
  return a.isNull();
}
