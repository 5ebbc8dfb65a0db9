#pragma once

#include <cstdint>

#include "javax_microedition_lcdui_Displayable.h"
#include "javax_microedition_lcdui_Graphics.h"

namespace javax::microedition::lcdui {

// The displayable that gets raw input: keys, stylus, show and hide, paint.
// The display calls the dispatch operations on the main thread; each runs
// its handler under the display's event dispatch lock, so handlers run one
// at a time. With `suppressKeyEvents` (a game canvas that reads the key
// states instead) keys with a game action other than 3, 4 and 7 reach no
// handler.
class Canvas : public Displayable {
  VM_CLASS(Canvas, Displayable)

 public:
  static constexpr int32_t UP = 1;
  static constexpr int32_t LEFT = 2;
  static constexpr int32_t RIGHT = 5;
  static constexpr int32_t DOWN = 6;
  static constexpr int32_t FIRE = 8;
  static constexpr int32_t GAME_A = 9;
  static constexpr int32_t GAME_B = 10;
  static constexpr int32_t GAME_C = 11;
  static constexpr int32_t GAME_D = 12;
  static constexpr int32_t KEY_NUM0 = 48;
  static constexpr int32_t KEY_NUM9 = 57;
  static constexpr int32_t KEY_STAR = 42;
  static constexpr int32_t KEY_POUND = 35;

  VMPtr<Canvas> _VM_init();
  ~Canvas() override;

  void dispatchPaint(VMPtr<Graphics> g) override;
  void dispatchKeyPressed(int32_t keyCode) override;
  void dispatchKeyRepeated(int32_t keyCode) override;
  void dispatchKeyReleased(int32_t keyCode) override;
  void dispatchPointerPressed(int32_t x, int32_t y) override;
  void dispatchPointerReleased(int32_t x, int32_t y) override;
  void dispatchPointerDragged(int32_t x, int32_t y) override;
  void dispatchShow() override;
  void dispatchHide() override;

  virtual uint8_t isDoubleBuffered() { return doubleBuffered; }
  virtual uint8_t hasPointerEvents() { return pointerEvents; }
  virtual uint8_t hasPointerMotionEvents() { return pointerMotionEvents; }
  virtual uint8_t hasRepeatEvents() { return repeatEvents; }
  // IllegalArgumentException for anything but the five game actions UP,
  // LEFT, RIGHT, DOWN and FIRE.
  virtual int32_t getKeyCode(int32_t gameAction);
  // The key's name; an empty string for a key without one.
  virtual VMPtr<java::lang::String> getKeyName(int32_t keyCode);
  // The game action of a key code, 0 for none.
  virtual int32_t getGameAction(int32_t keyCode);
  virtual void setFullScreenMode(uint8_t mode);
  virtual void paint(VMPtr<Graphics> g) = 0;
  virtual void keyPressed(int32_t keyCode) {}
  virtual void keyRepeated(int32_t keyCode) {}
  virtual void keyReleased(int32_t keyCode) {}
  virtual void pointerPressed(int32_t x, int32_t y) {}
  virtual void pointerReleased(int32_t x, int32_t y) {}
  virtual void pointerDragged(int32_t x, int32_t y) {}
  virtual void showNotify() {}
  virtual void hideNotify() {}

  uint8_t fullScreenMode;
  uint8_t suppressKeyEvents;
  uint8_t pointerEvents;
  uint8_t pointerMotionEvents;
  uint8_t repeatEvents;
  uint8_t doubleBuffered;

 private:
  // Whether a key event reaches the handlers (see the class comment).
  bool passesKeyFilter(int32_t keyCode);
};

}  // namespace javax::microedition::lcdui
