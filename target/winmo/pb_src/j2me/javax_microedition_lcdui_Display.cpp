#include "javax_microedition_lcdui_Display.h"

#include "HALEvents.h"
#include "HALDisplayable.h"
#include "VMExitException.h"
#include "VMJava.h"
#include "VMServices.h"
#include "VMSynchronized.h"
#include "VMThrow.h"
#include "java_lang_IllegalArgumentException.h"
#include "java_lang_NullPointerException.h"
#include "java_lang_Throwable.h"
#include "javax_microedition_lcdui_Alert.h"
#include "javax_microedition_lcdui_Graphics.h"

VM_REGISTER_CLASS(javax::microedition::lcdui::Display, "javax.microedition.lcdui.Display", "java.lang.Object",
                  VM_HAS_CLINIT);

namespace javax::microedition::lcdui {

VMStatic<java::lang::Object> Display::displayStateLock;
VMStatic<java::lang::Object> Display::eventDispatchLock;
VMStatic<Display> Display::instance;
VMStatic<java::util::Vector> Display::pendingSerialCalls;

namespace {

constexpr uint32_t kEveryEvent = 0x7fffffff;

VMPtr<java::lang::Object> newLock() {
  VMPtr<java::lang::Object> lock = java::lang::Object::_VM_new();
  lock->_VM_init();
  return lock;
}

}  // namespace

void Display::_VM_clinit() {
  displayStateLock = newLock();
  eventDispatchLock = newLock();
  VMPtr<java::util::Vector> pending = java::util::Vector::_VM_new();
  pending->_VM_init();
  pendingSerialCalls = pending;
  VMPtr<Display> display = Display::_VM_new();
  display->_VM_init();
  instance = display;
}

VMPtr<Display> Display::_VM_init() {
  Object::_VM_init();
  HAL_addEventListener(&Display::handleEvent, kEveryEvent, 1);
  int32_t colours = 0;
  int32_t levels = 0;
  int32_t flag = 0;
  uint8_t colour = 0;
  HAL_getDisplayInfo(&colour, &colours, &levels, &flag);
  isColorDisplay = colour;
  colourCount = colours;
  alphaLevels = levels;
  displayFlag = flag;
  foreground = 1;
  return VMPtr<Display>(this);
}

VMPtr<java::lang::Object> Display::stateLock() {
  _VM_clinitCheck();
  return displayStateLock;
}

VMPtr<java::lang::Object> Display::eventLock() {
  _VM_clinitCheck();
  return eventDispatchLock;
}

VMPtr<Display> Display::getDisplay(VMPtr<javax::microedition::midlet::MIDlet> m) {
  VMSynchronized guard(stateLock());
  return instance;
}

int32_t Display::getColor(int32_t colorSpecifier) {
  switch (colorSpecifier) {
    case COLOR_BACKGROUND:
    case COLOR_HIGHLIGHTED_BACKGROUND:
      return 0xFFFFFF;
    case COLOR_FOREGROUND:
    case COLOR_HIGHLIGHTED_FOREGROUND:
      return 0x000000;
    case COLOR_BORDER:
      return 0xAFAFAF;
    case COLOR_HIGHLIGHTED_BORDER:
      return 0x606060;
    default:
      _VM_throwNew<java::lang::IllegalArgumentException>();
  }
}

uint8_t Display::vibrate(int32_t duration) {
  if (duration < 0) _VM_throwNew<java::lang::IllegalArgumentException>();
  if (!foreground) return 0;
  // The device has no vibrator: the platform's answer is always 0.
  return 0;
}

VMPtr<Displayable> Display::getCurrent() {
  VMPtr<Displayable> shown = current;
  return shown ? shown : VMPtr<Displayable>(incoming);
}

void Display::setCurrent(VMPtr<Displayable> d) {
  VMSynchronized oneSwitchAtATime(eventLock());
  HALWindowObject* target = nullptr;
  {
    VMSynchronized guard(stateLock());
    Alert* alert = dynamic_cast<Alert*>(d.get());
    if (alert != nullptr && d.get() != requested.get()) {
      VMPtr<Displayable> previous = requested;
      if (dynamic_cast<Alert*>(previous.get()) != nullptr) _VM_throwNew<java::lang::IllegalArgumentException>();
      alert->setNext(previous);
    }
    if (!d) {
      hasRequest = 0;
      return;
    }
    target = recordRequest(d);
  }
  // The switch runs inside this call, on this thread, after the state lock
  // is left: its hide and show handlers run under the event dispatch lock,
  // held here for the whole request. Holding it makes a switch from another
  // thread wait until this one has hidden the old displayable and shown the
  // new one; taking it before the state lock keeps the order a handler
  // keeps (event dispatch lock, then state lock), so the two cannot
  // deadlock.
  HAL_setCurrentDisplayable(target);
}

void Display::setCurrent(VMPtr<Alert> alert, VMPtr<Displayable> next) {
  if (!alert || !next) _VM_throwNew<java::lang::NullPointerException>();
  if (dynamic_cast<Alert*>(next.get()) != nullptr) _VM_throwNew<java::lang::IllegalArgumentException>();
  VMSynchronized oneSwitchAtATime(eventLock());  // as in setCurrent(d)
  HALWindowObject* target = nullptr;
  {
    VMSynchronized guard(stateLock());
    alert->setNext(next);
    target = recordRequest(alert);
  }
  HAL_setCurrentDisplayable(target);
}

HALWindowObject* Display::recordRequest(VMPtr<Displayable> d) {
  hasRequest = 1;
  requested = d;
  return d->nativeHandle;
}

void Display::callSerially(VMPtr<java::lang::Runnable> r) {
  if (!r) _VM_throwNew<java::lang::NullPointerException>();
  _VM_clinitCheck();
  pendingSerialCalls->addElement(r);
  if (HAL_callSerially(&Display::callSeriallyRun, static_cast<java::lang::Object*>(r.get())) != HAL_OK) {
    _VM_fatalError("Call to HAL_callSerially() failed!");
  }
}

void Display::callSeriallyRun(void* runnable) {
  try {
    VMPtr<java::lang::Object> held(static_cast<java::lang::Object*>(runnable));
    pendingSerialCalls->removeElement(held);
    VMPtr<java::lang::Runnable> r = _VM_cast<java::lang::Runnable>(held);
    VMSynchronized guard(eventLock());
    try {
      r->run();
    } catch (java::lang::Throwable*) {
      // What the application's routine throws ends only that routine.
    }
  } catch (VMExitException*) {
    throw;
  } catch (...) {
    _VM_fatalError("Unexpected exception in callSerially_run()!");
  }
}

uint8_t Display::isShown(Displayable* d) { return foreground && current.get() == d; }

void Display::switchTo(VMPtr<Displayable> next) {
  VMPtr<Displayable> old;
  {
    VMSynchronized guard(stateLock());
    if (current.get() == next.get()) return;
    old = current;
    current = nullptr;
    incoming = next;
  }
  // The switch completes even when a handler throws, so the display never
  // stays without its current displayable; the exception then goes on.
  try {
    if (old) old->dispatchHide();
    if (next) next->dispatchShow();
  } catch (...) {
    finishSwitch(next);
    throw;
  }
  finishSwitch(next);
}

void Display::finishSwitch(VMPtr<Displayable> next) {
  VMSynchronized guard(stateLock());
  current = next;
  incoming = nullptr;
}

void Display::setForeground(bool on) {
  if (foreground == on) return;
  foreground = on;
  VMPtr<Displayable> shown = current;
  if (!shown) return;
  if (on) {
    shown->dispatchShow();
  } else {
    shown->dispatchHide();
  }
}

void Display::handleCommandEvent(intptr_t nativeId) {
  VMPtr<CommandListener> listener;
  VMPtr<Command> chosen;
  VMPtr<Displayable> shown;
  {
    VMSynchronized guard(stateLock());
    shown = current;
    if (!shown) return;
    listener = shown->commandListener;
    VMPtr<VMArray<Command>> array = shown->commands;
    if (!listener || !array) return;
    for (int32_t i = 0; i < shown->numCommands && !chosen; ++i) {
      VMPtr<Command> c = array->get(i);
      if (c && reinterpret_cast<intptr_t>(c->nativeId()) == nativeId) chosen = c;
    }
  }
  if (!chosen) return;
  try {
    VMSynchronized guard(eventLock());
    try {
      listener->commandAction(chosen, shown);
    } catch (java::lang::Throwable*) {
      // What the listener throws ends only the listener.
    }
  } catch (VMExitException*) {
    throw;
  } catch (...) {
    _VM_fatalError("Unexpected exception in handleCommandEvent()!");
  }
}

void Display::handleEvent(int type, int count, const intptr_t* payload) {
  VMPtr<Display> display = instance;
  if (!display || type < 1 || type > 15) return;
  auto word = [&](int i) { return i < count ? payload[i] : 0; };
  switch (type) {
    case HAL_EVENT_PAUSE:
      display->setForeground(false);
      break;
    case HAL_EVENT_RESUME:
      display->setForeground(true);
      break;
    case HAL_EVENT_SHOW_DISPLAYABLE:
      display->switchTo(VMPtr<Displayable>(Displayable::fromEventIdentifier(word(0))));
      break;
    case HAL_EVENT_SIZE_CHANGE: {
      VMPtr<Displayable> target(Displayable::fromEventIdentifier(word(0)));
      if (target) target->dispatchSizeChanged(static_cast<int32_t>(word(1)), static_cast<int32_t>(word(2)));
      break;
    }
    case HAL_EVENT_PAINT: {
      // The platform hands over a drawing context for this one paint; the
      // Graphics made over it is released afterwards, so one kept by the
      // handler draws nothing.
      auto* context = reinterpret_cast<RasterContext*>(word(0));
      VMPtr<Displayable> target(Displayable::fromEventIdentifier(word(1)));
      if (context == nullptr) break;
      VMPtr<Graphics> g =
          Graphics::createOver(context, static_cast<int32_t>(word(2)), static_cast<int32_t>(word(3)));
      if (!target) {
        g->releaseContext();
        break;
      }
      try {
        target->dispatchPaint(g);
      } catch (...) {
        g->releaseContext();
        throw;
      }
      g->releaseContext();
      break;
    }
    case HAL_EVENT_KEY_PRESSED:
    case HAL_EVENT_KEY_RELEASED:
    case HAL_EVENT_KEY_REPEATED: {
      VMPtr<Displayable> shown = display->current;
      if (!shown) break;
      const int32_t key = static_cast<int32_t>(word(0));
      if (type == HAL_EVENT_KEY_PRESSED) shown->dispatchKeyPressed(key);
      if (type == HAL_EVENT_KEY_RELEASED) shown->dispatchKeyReleased(key);
      if (type == HAL_EVENT_KEY_REPEATED) shown->dispatchKeyRepeated(key);
      break;
    }
    case HAL_EVENT_POINTER_PRESSED:
    case HAL_EVENT_POINTER_RELEASED:
    case HAL_EVENT_POINTER_DRAGGED: {
      VMPtr<Displayable> shown = display->current;
      if (!shown) break;
      const int32_t x = static_cast<int32_t>(word(0));
      const int32_t y = static_cast<int32_t>(word(1));
      if (type == HAL_EVENT_POINTER_PRESSED) shown->dispatchPointerPressed(x, y);
      if (type == HAL_EVENT_POINTER_RELEASED) shown->dispatchPointerReleased(x, y);
      if (type == HAL_EVENT_POINTER_DRAGGED) shown->dispatchPointerDragged(x, y);
      break;
    }
    case HAL_EVENT_COMMAND:
      display->handleCommandEvent(word(0));
      break;
    default:
      break;
  }
}

void Display::_VM_markReferences(int colour) {
  _VM_mark(current, colour);
  _VM_mark(requested, colour);
  _VM_mark(incoming, colour);
  Object::_VM_markReferences(colour);
}

}  // namespace javax::microedition::lcdui
