#include "javax_microedition_lcdui_Displayable.h"

#include "HALDisplayable.h"
#include "VMServices.h"
#include "VMSynchronized.h"
#include "VMThrow.h"
#include "java_lang_NullPointerException.h"
#include "javax_microedition_lcdui_Display.h"

VM_REGISTER_CLASS(javax::microedition::lcdui::Displayable, "javax.microedition.lcdui.Displayable",
                  "java.lang.Object", VM_ABSTRACT);

namespace javax::microedition::lcdui {

namespace {

// The characters of `text` for the platform; an empty or missing text
// passes none.
const char16_t* charsOf(java::lang::String* text) {
  return text != nullptr && text->length() > 0 ? text->_VM_chars() : nullptr;
}

int32_t lengthOf(java::lang::String* text) { return text != nullptr ? text->length() : 0; }

}  // namespace

VMPtr<Displayable> Displayable::_VM_init() {
  Object::_VM_init();
  return VMPtr<Displayable>(this);
}

VMPtr<java::lang::String> Displayable::getTitle() {
  VMSynchronized guard(Display::stateLock());
  return title;
}

void Displayable::setTitle(VMPtr<java::lang::String> s) {
  VMSynchronized guard(Display::stateLock());
  VMPtr<java::lang::String> old = title;
  if (s.get() == old.get()) return;
  if (s && s->equals(old)) return;
  title = s;
  HAL_setDisplayableTitle(nativeHandle, charsOf(s.get()), lengthOf(s.get()));
}

VMPtr<Ticker> Displayable::getTicker() {
  VMSynchronized guard(Display::stateLock());
  return ticker;
}

void Displayable::setTicker(VMPtr<Ticker> t) {
  VMSynchronized guard(Display::stateLock());
  if (t.get() == ticker.get()) return;
  ticker = t;
  VMPtr<java::lang::String> text = t ? t->getString() : nullptr;
  HAL_setDisplayableTicker(nativeHandle, charsOf(text.get()), lengthOf(text.get()));
}

uint8_t Displayable::isShown() {
  VMSynchronized guard(Display::stateLock());
  VMPtr<Display> display = Display::getDisplay(nullptr);
  return display->isShown(this);
}

void Displayable::addCommand(VMPtr<Command> c) {
  VMSynchronized guard(Display::stateLock());
  if (!c) _VM_throwNew<java::lang::NullPointerException>();
  appendCommand(c);
  HAL_addDisplayableCommand(nativeHandle, c->nativeId());
}

void Displayable::removeCommand(VMPtr<Command> c) {
  VMSynchronized guard(Display::stateLock());
  if (removeCommandEntry(c) >= 0) HAL_removeDisplayableCommand(nativeHandle, c->nativeId());
}

void Displayable::setCommandListener(VMPtr<CommandListener> l) {
  VMSynchronized guard(Display::stateLock());
  commandListener = l;
}

int32_t Displayable::getWidth() { return size().first; }

int32_t Displayable::getHeight() { return size().second; }

std::pair<int32_t, int32_t> Displayable::size() {
  VMSynchronized guard(Display::stateLock());
  int32_t width = 0;
  int32_t height = 0;
  // A displayable without a window record of its own (a Screen, an Alert)
  // would fill the window's client area.
  if (nativeHandle == nullptr) {
    HAL_getClientAreaSize(&width, &height);
    return {width, height};
  }
  if (HAL_getDisplayableSize(nativeHandle, &width, &height) != HAL_OK) {
    _VM_fatalError("HAL_getDisplayableSize() failed.");
  }
  return {width, height};
}

void Displayable::dispatchSizeChanged(int32_t width, int32_t height) {
  VMSynchronized guard(Display::eventLock());
  sizeChanged(width, height);
}

void Displayable::dispatchPaint(VMPtr<Graphics> g) {}

void Displayable::appendCommand(VMPtr<Command> c) {
  VMPtr<VMArray<Command>> array = commands;
  for (int32_t i = 0; i < numCommands; ++i) {
    if (array->get(i).get() == c.get()) return;
  }
  if (!array || numCommands == array->length) {
    // The allocation may let other threads run, but they need the state
    // lock, held here, to touch the array or the count.
    VMPtr<VMArray<Command>> grown = VMArray<Command>::create(numCommands + 4);
    for (int32_t i = 0; i < numCommands; ++i) grown->set(i, array->get(i));
    commands = grown;
    array = grown;
  }
  array->set(numCommands, c);
  ++numCommands;
}

int32_t Displayable::removeCommandEntry(VMPtr<Command> c) {
  VMPtr<VMArray<Command>> array = commands;
  for (int32_t i = 0; i < numCommands; ++i) {
    if (array->get(i).get() != c.get()) continue;
    --numCommands;
    array->set(i, array->get(numCommands));
    array->set(numCommands, nullptr);
    return i;
  }
  return -1;
}

void Displayable::_VM_markReferences(int colour) {
  _VM_mark(commands, colour);
  _VM_mark(commandListener, colour);
  _VM_mark(title, colour);
  _VM_mark(ticker, colour);
  Object::_VM_markReferences(colour);
}

}  // namespace javax::microedition::lcdui
