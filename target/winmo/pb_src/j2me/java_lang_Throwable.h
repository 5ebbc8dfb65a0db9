#pragma once

#include "VMClassKit.h"
#include "java_lang_String.h"

namespace java::lang {

// The root of every Java exception and error: an optional message, no
// cause and no stack trace.
class Throwable : public VMException {
  VM_THROWABLE_CLASS(Throwable, java::lang::Object)

 public:
  VMPtr<Throwable> _VM_init();
  VMPtr<Throwable> _VM_init(VMPtr<String> message);

  virtual VMPtr<String> getMessage();
  // The two-line report on System.err: the thread and the class name with
  // the message, then "    at <unknown>".
  virtual void printStackTrace();
  // The class name, then ": " and the message when there is one.
  VMPtr<String> toString() override;
  void _VM_markReferences(int colour) override;

  VMField<String> message;
};

}  // namespace java::lang

// Where printStackTrace writes its lines, and how it learns the current
// thread's name; the console and thread code replace the defaults
// (standard output, and "no Java thread").
extern void (*_VM_stackTracePrintln)(const char16_t* text, int32_t length);
// Returns false when the current thread has no Java Thread object; else
// stores its name (possibly null) in `name`.
extern bool (*_VM_currentThreadName)(VMPtr<java::lang::String>& name);
