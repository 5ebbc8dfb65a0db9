#pragma once

#include <cstdint>

#include "VMClassKit.h"
#include "java_lang_Runnable.h"
#include "java_util_Vector.h"
#include "javax_microedition_lcdui_Displayable.h"
#include "javax_microedition_midlet_MIDlet.h"


namespace javax::microedition::lcdui {

class Alert;

// The application's one display: it keeps the current displayable, switches
// it with hide and show notifications, and turns the platform's display
// events into calls on the current displayable.
//
// Two locks: the state lock guards the current and requested displayables
// and every getter and setter of Displayable; the event dispatch lock is
// held around every call into application code (handlers, command
// listeners, serial calls), so handlers run one at a time.
class Display : public virtual java::lang::Object {
  VM_CLASS(Display, java::lang::Object)

 public:
  static constexpr int32_t COLOR_BACKGROUND = 0;
  static constexpr int32_t COLOR_FOREGROUND = 1;
  static constexpr int32_t COLOR_HIGHLIGHTED_BACKGROUND = 2;
  static constexpr int32_t COLOR_HIGHLIGHTED_FOREGROUND = 3;
  static constexpr int32_t COLOR_BORDER = 4;
  static constexpr int32_t COLOR_HIGHLIGHTED_BORDER = 5;

  static VMPtr<Display> getDisplay(VMPtr<javax::microedition::midlet::MIDlet> m);

  // IllegalArgumentException for a specifier outside 0..5.
  virtual int32_t getColor(int32_t colorSpecifier);
  // This device has no backlight control: true only for a zero duration,
  // which asks for nothing.
  virtual uint8_t flashBacklight(int32_t duration) { return duration == 0; }
  virtual uint8_t isColor() { return isColorDisplay; }
  virtual int32_t numColors() { return colourCount; }
  virtual int32_t numAlphaLevels() { return alphaLevels; }
  virtual VMPtr<Displayable> getCurrent();
  // Shows `alert`, then `next` when it is dismissed. NullPointerException
  // for either missing, IllegalArgumentException when `next` is an Alert.
  virtual void setCurrent(VMPtr<Alert> alert, VMPtr<Displayable> next);
  // Asks for `d` to be shown; the switch happens at once, one switch at a
  // time (a call from another thread waits until this one's hide and show
  // have run). Null only drops the request flag.
  virtual void setCurrent(VMPtr<Displayable> d);
  // Runs r.run() once, later, on the main thread under the event dispatch
  // lock. NullPointerException for null.
  virtual void callSerially(VMPtr<java::lang::Runnable> r);

  // IllegalArgumentException for a negative duration; this device has no
  // vibrator, so the answer is false.
  uint8_t vibrate(int32_t duration);
  // In the foreground and `d` is current.
  uint8_t isShown(Displayable* d);

  // The platform's display events (registered as a listener).
  static void handleEvent(int type, int count, const intptr_t* payload);
  // Runs one serial call (given to the platform with the Runnable).
  static void callSeriallyRun(void* runnable);

  static VMPtr<java::lang::Object> stateLock();
  static VMPtr<java::lang::Object> eventLock();

  VMPtr<Display> _VM_init();
  void _VM_markReferences(int colour) override;
  static void _VM_clinit();

  uint8_t isColorDisplay;
  int32_t colourCount;
  int32_t alphaLevels;
  int32_t displayFlag;
  VMField<Displayable> current;
  VMField<Displayable> requested;
  VMField<Displayable> incoming;
  uint8_t hasRequest;
  uint8_t foreground;

  static VMStatic<java::lang::Object> displayStateLock;
  static VMStatic<java::lang::Object> eventDispatchLock;
  static VMStatic<Display> instance;
  // The Runnables handed to the platform and not yet run, kept reachable.
  static VMStatic<java::util::Vector> pendingSerialCalls;

 private:
  // Records `d` as requested (under the state lock) and returns the window
  // record the platform is to show.
  HALWindowObject* recordRequest(VMPtr<Displayable> d);
  void switchTo(VMPtr<Displayable> next);
  void finishSwitch(VMPtr<Displayable> next);
  void handleCommandEvent(intptr_t nativeId);
  void setForeground(bool on);
};

}  // namespace javax::microedition::lcdui
