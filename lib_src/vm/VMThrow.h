#pragma once

// Throwing from native code: builds the exception, runs its Java
// constructor and throws it with its own class.
//   _VM_throwNew<java::lang::IllegalArgumentException>("n must be positive");
//   _VM_throwNew<java::lang::StringIndexOutOfBoundsException>(index);

#include <type_traits>
#include <utility>

#include "VMException.h"
#include "java_lang_String.h"

namespace vm_detail {
template <class A>
decltype(auto) constructorArgument(A&& a) {
  if constexpr (std::is_convertible_v<A, const char*>) {
    return java::lang::String::_VM_fromUTF8(a);
  } else {
    return std::forward<A>(a);
  }
}
}  // namespace vm_detail

template <class E, class... A>
[[noreturn]] void _VM_throwNew(A&&... args) {
  VMPtr<E> e = E::_VM_new();
  e->_VM_init(vm_detail::constructorArgument(std::forward<A>(args))...);
  _VM_throw(e);
}
