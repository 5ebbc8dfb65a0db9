#pragma once

#include <cstdint>

#include "HALScreen.h"
#include "javax_microedition_lcdui_Canvas.h"

namespace javax::microedition::lcdui::game {

// A canvas with an off-screen RGB565 screen buffer of the display's size:
// the application draws into it through getGraphics() and shows it with
// flushGraphics(), from any thread.
class GameCanvas : public Canvas {
  VM_CLASS(GameCanvas, Canvas)

 public:
  static constexpr int32_t UP_PRESSED = 1 << Canvas::UP;
  static constexpr int32_t DOWN_PRESSED = 1 << Canvas::DOWN;
  static constexpr int32_t LEFT_PRESSED = 1 << Canvas::LEFT;
  static constexpr int32_t RIGHT_PRESSED = 1 << Canvas::RIGHT;
  static constexpr int32_t FIRE_PRESSED = 1 << Canvas::FIRE;
  static constexpr int32_t GAME_A_PRESSED = 1 << Canvas::GAME_A;
  static constexpr int32_t GAME_B_PRESSED = 1 << Canvas::GAME_B;
  static constexpr int32_t GAME_C_PRESSED = 1 << Canvas::GAME_C;
  static constexpr int32_t GAME_D_PRESSED = 1 << Canvas::GAME_D;

  VMPtr<GameCanvas> _VM_init(uint8_t suppressKeyEvents);
  // Frees the screen buffer; a Graphics still held over it draws nothing.
  ~GameCanvas() override;

  // Draws the screen buffer into `g`.
  void paint(VMPtr<Graphics> g) override;
  // The one Graphics over the screen buffer; every call after the first
  // sets it back to the buffer's whole size and its initial state.
  virtual VMPtr<Graphics> getGraphics();
  // The game actions pressed since the last call (bit 1 << action).
  virtual int32_t getKeyStates();
  virtual void flushGraphics();
  // Presents the whole buffer, as flushGraphics() does.
  virtual void flushGraphics(int32_t x, int32_t y, int32_t width, int32_t height);

  void _VM_markReferences(int colour) override;

  HALScreen* screenBuffer;
  VMField<Graphics> graphics;
};

}  // namespace javax::microedition::lcdui::game
