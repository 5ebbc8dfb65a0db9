#include "java_lang_Thread.h"

#include <cstdio>
#include <string>

#include "VMCollector.h"
#include "VMSynchronized.h"
#include "VMThread.h"
#include "VMThrow.h"
#include "java_lang_IllegalThreadStateException.h"

VM_REGISTER_CLASS(java::lang::Thread, "java.lang.Thread", "java.lang.Object", VM_INSTANTIABLE);
VM_IMPLEMENTS(java::lang::Thread, "java.lang.Runnable");

namespace java::lang {

namespace {
constexpr int32_t kNormalPriority = 5;
}

int32_t Thread::defaultNameCounter = 0;

VMPtr<Thread> Thread::_VM_init() {
  setUp(nullptr, nullptr);
  return VMPtr<Thread>(this);
}

VMPtr<Thread> Thread::_VM_init(VMPtr<Runnable> target) {
  setUp(target, nullptr);
  return VMPtr<Thread>(this);
}

VMPtr<Thread> Thread::_VM_init(VMPtr<String> name) {
  setUp(nullptr, name);
  return VMPtr<Thread>(this);
}

VMPtr<Thread> Thread::_VM_initMain(VMThread* main, VMPtr<String> name) {
  Object::_VM_init();
  _VM_record = main;
  main->thread = this;
  priority = kNormalPriority;
  this->name = name;
  return VMPtr<Thread>(this);
}

void Thread::setUp(VMPtr<Runnable> target, VMPtr<String> name) {
  Object::_VM_init();
  _VM_record = new VMThread(this);
  VMThread* current = VMThread::current();
  priority = current != nullptr && current->thread != nullptr ? current->thread->priority : kNormalPriority;
  this->target = target;
  if (name.isNull()) {
    char text[32];
    std::snprintf(text, sizeof text, "Thread-%d", ++defaultNameCounter);
    name = String::_VM_fromUTF8(text);
  }
  this->name = name;
}

Thread::~Thread() {
  if (_VM_record != nullptr) _VM_record->thread = nullptr;
}

void Thread::start() {
  VMSynchronized guard(this);
  if (_VM_record == nullptr || _VM_record->isStarted()) _VM_throwNew<IllegalThreadStateException>();
  _VM_record->start();
}

void Thread::interrupt() {
  if (_VM_record != nullptr) _VM_record->interrupt();
}

void Thread::run() {
  VMPtr<Runnable> t(target);
  if (t) t->run();
}

uint8_t Thread::isAlive() { return _VM_record != nullptr && _VM_record->isAlive() ? 1 : 0; }

VMPtr<String> Thread::getName() { return VMPtr<String>(name); }

VMPtr<String> Thread::toString() {
  std::u16string text = u"Thread[";
  VMPtr<String> n(name);
  if (n) {
    text.append(n->_VM_chars(), static_cast<size_t>(n->count));
  } else {
    text += u"null";
  }
  char digits[16];
  std::snprintf(digits, sizeof digits, ",%d]", priority);
  for (const char* d = digits; *d != '\0'; ++d) text += static_cast<char16_t>(*d);
  return String::_VM_fromUTF16(text.data(), static_cast<int32_t>(text.size()));
}

VMPtr<Thread> Thread::currentThread() {
  VMThread* current = VMThread::current();
  return VMPtr<Thread>(current != nullptr ? current->thread : nullptr);
}

void Thread::sleep(int64_t millis) {
  if (VMThread* current = VMThread::current()) current->sleep(millis);
}

void Thread::_VM_markReferences(int colour) {
  _VM_markFields(colour, name, target);
  Object::_VM_markReferences(colour);
}

}  // namespace java::lang
