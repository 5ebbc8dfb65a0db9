// The second example of docs/class-kit.md (a mailbox between threads: a
// synchronized method and block, wait and notify, instanceof and casts,
// try/finally, building a String, an exception class, an inner class and a
// native record freed by the destructor), compiled and used as the guide
// shows, so the guide stays true.
#include <gtest/gtest.h>

#include "HALMemory.h"
#include "VMClassKit.h"
#include "VMCollector.h"
#include "VMContext.h"
#include "VMException.h"
#include "VMJava.h"
#include "VMSynchronized.h"
#include "VMTestEnv.h"
#include "VMThread.h"
#include "VMThrow.h"
#include "java_lang_IllegalStateException.h"
#include "java_lang_InterruptedException.h"
#include "java_lang_OutOfMemoryError.h"
#include "java_lang_String.h"
#include "java_lang_StringBuffer.h"
#include "java_lang_System.h"

namespace java::util {

class MailboxClosedException : public java::lang::IllegalStateException {
  VM_EXCEPTION_CLASS(MailboxClosedException, java::lang::IllegalStateException)
};

}  // namespace java::util

namespace java::util {

class Mailbox_TQC_Letter : public virtual java::lang::Object {
  VM_CLASS(Mailbox_TQC_Letter, java::lang::Object)

 public:
  VMPtr<Mailbox_TQC_Letter> _VM_init(int32_t number, VMPtr<java::lang::String> text);
  VMPtr<java::lang::String> toString() override;  // "letter 3: text"
  void _VM_markReferences(int colour) override;

  int32_t number;
  VMField<java::lang::String> text;
};

}  // namespace java::util

namespace java::util {

class Mailbox : public virtual java::lang::Object {
  VM_CLASS(Mailbox, java::lang::Object)

 public:
  VMPtr<Mailbox> _VM_init();
  ~Mailbox() override;
  // synchronized void put(Object o): waits while the slot is full;
  // MailboxClosedException once closed.
  void put(VMPtr<java::lang::Object> o);
  // synchronized Object take(long ms): the item, or null after ms
  // milliseconds without one (0: no limit); InterruptedException.
  VMPtr<java::lang::Object> take(int64_t ms);
  // void close() { synchronized (this) { ... } }
  void close();
  // static String describe(Object o): a Letter's text, or String.valueOf(o).
  static VMPtr<java::lang::String> describe(VMPtr<java::lang::Object> o);
  int32_t waiting() { return waiting_; }
  // When the n-th item (from 0) was put, from the native record.
  int64_t stampOf(int32_t n);

  void _VM_markReferences(int colour) override;

 private:
  VMField<java::lang::Object> item_;
  uint8_t closed_;
  int32_t waiting_;  // threads in take()
  int32_t count_;
  // A native record: outside the Java heap, freed by the destructor.
  int64_t* stamps_;
};

}  // namespace java::util

VM_REGISTER_CLASS(java::util::MailboxClosedException, "java.util.MailboxClosedException",
                  "java.lang.IllegalStateException", VM_INSTANTIABLE);

VM_REGISTER_CLASS(java::util::Mailbox_TQC_Letter, "java.util.Mailbox$Letter", "java.lang.Object", 0);

namespace java::util {

VMPtr<Mailbox_TQC_Letter> Mailbox_TQC_Letter::_VM_init(int32_t number, VMPtr<java::lang::String> text) {
  Base::_VM_init();
  this->number = number;
  this->text = text;
  return VMPtr<Mailbox_TQC_Letter>(this);
}

// "letter " + number + ": " + text
VMPtr<java::lang::String> Mailbox_TQC_Letter::toString() {
  VMPtr<java::lang::StringBuffer> b = java::lang::StringBuffer::_VM_new();
  b->_VM_init("letter ");
  b->append(number)->append(": ")->append(VMPtr<java::lang::String>(text));
  return b->toString();
}

void Mailbox_TQC_Letter::_VM_markReferences(int colour) {
  _VM_mark(text, colour);
  Base::_VM_markReferences(colour);
}

}  // namespace java::util

VM_REGISTER_CLASS(java::util::Mailbox, "java.util.Mailbox", "java.lang.Object", VM_INSTANTIABLE);

namespace java::util {

namespace {
constexpr int32_t kStamps = 16;
}

VMPtr<Mailbox> Mailbox::_VM_init() {
  Base::_VM_init();
  stamps_ = static_cast<int64_t*>(HAL_allocateBuffer(sizeof(int64_t) * kStamps));
  if (stamps_ == nullptr) _VM_throwNew<java::lang::OutOfMemoryError>();
  return VMPtr<Mailbox>(this);
}

// The collector runs it when the mailbox dies: native records are freed
// here, never in finalize().
Mailbox::~Mailbox() { HAL_freeBuffer(stamps_); }

void Mailbox::put(VMPtr<java::lang::Object> o) {
  VMSynchronized guard(this);  // synchronized method
  while (item_ && !closed_) wait();
  if (closed_) _VM_throwNew<MailboxClosedException>("closed");
  item_ = o;
  if (count_ < kStamps) stamps_[count_] = java::lang::System::currentTimeMillis();
  ++count_;
  notifyAll();
}

VMPtr<java::lang::Object> Mailbox::take(int64_t ms) {
  VMSynchronized guard(this);
  ++waiting_;
  try {
    // One wait: a notify, an interrupt or the time-out ends it.
    if (!item_) wait(ms);
  } catch (java::lang::Throwable* t) {
    VMPtr<java::lang::Throwable> thrown(t);  // bind before anything else
    --waiting_;                               // finally, on the way out
    _VM_throw(thrown);                        // rethrown as its own class
  }
  --waiting_;  // finally, on the normal way
  VMPtr<java::lang::Object> out = item_;
  item_ = nullptr;
  notifyAll();
  return out;
}

void Mailbox::close() {
  {
    VMSynchronized block(this);  // synchronized (this) { ... }
    closed_ = 1;
    notifyAll();
  }
}

VMPtr<java::lang::String> Mailbox::describe(VMPtr<java::lang::Object> o) {
  if (_VM_instanceOf(o.get(), Mailbox_TQC_Letter::_VM_class)) {  // o instanceof Letter
    VMPtr<Mailbox_TQC_Letter> letter = _VM_cast<Mailbox_TQC_Letter>(o);  // (Letter) o
    return letter->text;
  }
  return java::lang::String::valueOf(o);
}

int64_t Mailbox::stampOf(int32_t n) { return n >= 0 && n < kStamps && n < count_ ? stamps_[n] : -1; }

void Mailbox::_VM_markReferences(int colour) {
  _VM_mark(item_, colour);
  Base::_VM_markReferences(colour);
}

}  // namespace java::util

namespace {

using java::util::Mailbox;
using java::util::Mailbox_TQC_Letter;
using java::util::MailboxClosedException;

TEST(ClassKitExample, TheSecondExampleWorksAsShown) {
  VMTestEnv::start();
  VMPtr<Mailbox> box = Mailbox::_VM_new();
  box->_VM_init();
  VMPtr<Mailbox_TQC_Letter> letter = Mailbox_TQC_Letter::_VM_new();
  letter->_VM_init(3, java::lang::String::_VM_fromUTF8("hello"));
  box->put(letter);
  EXPECT_GT(box->stampOf(0), 0);
  EXPECT_EQ(box->stampOf(1), -1);
  VMPtr<java::lang::Object> got = box->take(0);
  EXPECT_EQ(got.getObject(), letter.getObject());
  EXPECT_TRUE(Mailbox::describe(got)->_VM_equals("hello"));
  EXPECT_TRUE(got->toString()->_VM_equals("letter 3: hello"));
  EXPECT_TRUE(Mailbox::describe(java::lang::String::_VM_fromUTF8("plain"))->_VM_equals("plain"));
  EXPECT_TRUE(Mailbox::describe(nullptr)->_VM_equals("null"));
  EXPECT_TRUE(got->getClass()->getName()->_VM_equals("java.util.Mailbox$Letter"));

  // An empty mailbox: take gives null after its time-out.
  EXPECT_TRUE(box->take(20).isNull());
  EXPECT_EQ(box->waiting(), 0);
  // Interrupted: the finally part runs on the exception's way too.
  VMTestEnv::mainThread()->interrupt();
  EXPECT_THROW(box->take(0), java::lang::InterruptedException*);
  EXPECT_EQ(box->waiting(), 0);

  // Closed: put throws the exception class of the example, which is an
  // IllegalStateException with its message.
  box->close();
  try {
    box->put(letter);
    ADD_FAILURE() << "put into a closed mailbox";
  } catch (java::lang::IllegalStateException* e) {
    VMPtr<java::lang::IllegalStateException> error(e);
    EXPECT_TRUE(_VM_instanceOf(e, MailboxClosedException::_VM_class));
    EXPECT_TRUE(error->getMessage()->_VM_equals("closed"));
  }
  EXPECT_THROW(_VM_throwNew<MailboxClosedException>(), MailboxClosedException*);
}

TEST(ClassKitExample, TheDestructorFreesTheNativeRecord) {
  VMTestEnv::start();
  const uint64_t before = HAL_getAllocatedMemory();
  {
    VMPtr<Mailbox> box = Mailbox::_VM_new();
    box->_VM_init();
    EXPECT_GT(HAL_getAllocatedMemory(), before);
  }
  _VM_collect(_VM_vm);
  EXPECT_EQ(HAL_getAllocatedMemory(), before);
}

}  // namespace
