#include "java_lang_Throwable.h"

#include <cstdio>
#include <string>

#include "VMThread.h"
#include "VMUTF8.h"
#include "java_lang_StringBuffer.h"
#include "java_lang_Thread.h"

VM_REGISTER_CLASS(java::lang::Throwable, "java.lang.Throwable", "java.lang.Object", VM_INSTANTIABLE);

namespace {

void printlnToStandardOutput(const char16_t* text, int32_t length) {
  std::string bytes(static_cast<size_t>(_VM_getUTF8Length(text, length, false)), '\0');
  int32_t room = static_cast<int32_t>(bytes.size());
  _VM_encodeUTF8(reinterpret_cast<uint8_t*>(bytes.data()), room, text, length, false, false);
  bytes.push_back('\n');
  std::fwrite(bytes.data(), 1, bytes.size(), stdout);
  std::fflush(stdout);
}

// The name of the current thread's Thread object; false when it has none.
bool currentJavaThreadName(VMPtr<java::lang::String>& name) {
  VMThread* current = VMThread::current();
  if (current == nullptr || current->thread == nullptr) return false;
  name = current->thread->getName();
  return true;
}

void appendString(std::u16string& out, java::lang::String* s) {
  if (s != nullptr && s->count > 0) out.append(s->_VM_chars(), static_cast<size_t>(s->count));
}

void appendUTF8(std::u16string& out, const char* text) {
  VMPtr<java::lang::String> s = java::lang::String::_VM_fromUTF8(text);
  appendString(out, s.get());
}

}  // namespace

void (*_VM_stackTracePrintln)(const char16_t* text, int32_t length) = printlnToStandardOutput;
bool (*_VM_currentThreadName)(VMPtr<java::lang::String>& name) = currentJavaThreadName;

namespace java::lang {

VMPtr<Throwable> Throwable::_VM_init() {
  Object::_VM_init();
  return VMPtr<Throwable>(this);
}

VMPtr<Throwable> Throwable::_VM_init(VMPtr<String> message) {
  Object::_VM_init();
  this->message = message;
  return VMPtr<Throwable>(this);
}

VMPtr<String> Throwable::getMessage() { return VMPtr<String>(message); }

VMPtr<String> Throwable::toString() {
  VMPtr<String> name = getClass()->getName();
  VMPtr<String> m = getMessage();
  if (!m) return name;
  VMPtr<StringBuffer> text = StringBuffer::_VM_new();
  text->_VM_init(name);
  text->append(": ");
  text->append(m);
  return text->toString();
}

void Throwable::printStackTrace() {
  std::u16string line;
  VMPtr<String> threadName;
  if (_VM_currentThreadName(threadName)) {
    line += u"Exception in thread \"";
    appendString(line, threadName.get());
    line += u"\" ";
  } else {
    line += u"Exception ";
  }
  VMPtr<String> m = getMessage();
  appendUTF8(line, _VM_getClass()->_VM_name.c_str());
  if (m) {
    line += u": ";
    appendString(line, m.get());
  }
  _VM_stackTracePrintln(line.data(), static_cast<int32_t>(line.size()));
  const std::u16string at = u"    at <unknown>";
  _VM_stackTracePrintln(at.data(), static_cast<int32_t>(at.size()));
}

void Throwable::_VM_markReferences(int colour) {
  _VM_mark(message, colour);
  Object::_VM_markReferences(colour);
}

}  // namespace java::lang
