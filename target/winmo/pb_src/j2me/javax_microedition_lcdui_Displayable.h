#pragma once

#include <cstdint>
#include <utility>

#include "HALWindowObject.h"
#include "VMArray.h"
#include "VMClassKit.h"
#include "java_lang_String.h"
#include "javax_microedition_lcdui_Command.h"
#include "javax_microedition_lcdui_CommandListener.h"
#include "javax_microedition_lcdui_Ticker.h"

namespace javax::microedition::lcdui {

class Graphics;

// What the display can show: a title, a ticker, commands with their
// listener, and the dispatch operations through which the display hands it
// events. Every getter and setter runs under the display's state lock.
class Displayable : public virtual java::lang::Object {
  VM_CLASS(Displayable, java::lang::Object)

 public:
  virtual VMPtr<java::lang::String> getTitle();
  // Records a title that differs from the current one and passes it on.
  virtual void setTitle(VMPtr<java::lang::String> title);
  virtual VMPtr<Ticker> getTicker();
  virtual void setTicker(VMPtr<Ticker> ticker);
  // In the foreground and the display's current displayable.
  virtual uint8_t isShown();
  // NullPointerException for null; adding a present command again keeps
  // one entry.
  virtual void addCommand(VMPtr<Command> command);
  virtual void removeCommand(VMPtr<Command> command);
  virtual void setCommandListener(VMPtr<CommandListener> listener);
  virtual int32_t getWidth();
  virtual int32_t getHeight();

  // The display's calls; the ones for paint, keys, pointer, show and hide
  // do nothing here and are filled by Canvas. The display releases the
  // Graphics of a paint once the dispatch returns.
  virtual void dispatchSizeChanged(int32_t width, int32_t height);
  virtual void dispatchPaint(VMPtr<Graphics> g);
  virtual void dispatchKeyPressed(int32_t keyCode) {}
  virtual void dispatchKeyRepeated(int32_t keyCode) {}
  virtual void dispatchKeyReleased(int32_t keyCode) {}
  virtual void dispatchPointerPressed(int32_t x, int32_t y) {}
  virtual void dispatchPointerReleased(int32_t x, int32_t y) {}
  virtual void dispatchPointerDragged(int32_t x, int32_t y) {}
  virtual void dispatchShow() {}
  virtual void dispatchHide() {}

  virtual void sizeChanged(int32_t width, int32_t height) {}

  // The command array: append keeps one entry per command and grows by
  // four; remove moves the last used entry into the freed place and returns
  // the index, or -1 when the command is absent.
  virtual void appendCommand(VMPtr<Command> command);
  virtual int32_t removeCommandEntry(VMPtr<Command> command);

  // The identifier the platform reports this displayable by in events.
  intptr_t eventIdentifier() { return reinterpret_cast<intptr_t>(this); }
  static Displayable* fromEventIdentifier(intptr_t id) { return reinterpret_cast<Displayable*>(id); }

  VMPtr<Displayable> _VM_init();
  void _VM_markReferences(int colour) override;

  VMField<VMArray<Command>> commands;
  int32_t numCommands;
  VMField<CommandListener> commandListener;
  VMField<java::lang::String> title;
  VMField<Ticker> ticker;
  HALWindowObject* nativeHandle;

 private:
  // The platform's size of the displayable, under the state lock; the
  // main window's client area for one without a window record.
  std::pair<int32_t, int32_t> size();
};

}  // namespace javax::microedition::lcdui
