#pragma once

// The set-up of the UI tests: the shell's environment with the UI packs, a
// controller with translation 0x5000 and glyph set 0, the touch managers
// over the whole game area, and taps fed through the canvas as the
// platform feeds them (key regions first, then the event queue).

#include <cstdint>
#include <string>

#include "GameEnv.h"
#include "RecordingGraphics.h"
#include "UiPacks.h"
#include "java_lang_String.h"
#include "main_Main.h"
#include "ui_Pointer.h"

namespace gametest {

inline VMPtr<java::lang::String> str(const std::u16string& s) {
  return java::lang::String::_VM_fromUTF16(s.data(), static_cast<int32_t>(s.size()));
}

inline std::u16string text(const VMPtr<java::lang::String>& s) {
  std::u16string out;
  for (int32_t i = 0; s && i < s->length(); ++i) out += s->charAt(i);
  return out;
}

// The canvas's view is the game area (the canvas never takes the screen
// in the tests); the touch managers cover it, without the regions of an
// earlier test's boxes.
void initTouch(const VMPtr<tq::TqCanvas>& canvas);

struct UiEnv {
  UiEnv();
  ~UiEnv();

  // The touch state's frame: events fed so far reach the shared statics.
  void touchFrame();
  // The canvas's pointer events, then a touch frame.
  void press(int32_t x, int32_t y);
  void release(int32_t x, int32_t y);
  void tap(int32_t x, int32_t y) {
    press(x, y);
    release(x, y);
  }
  // The glyph set of resource `id` as glyph set 0 of the controller's font
  // (installed at the next selectFont(0)).
  void useGlyphs(int32_t id);
  VMPtr<RecordingGraphics> graphics() { return RecordingGraphics::make(); }

  GameEnv env;
  bool packs;
  VMPtr<main::Main> main;
  VMPtr<ui::Pointer> pointer;
};

}  // namespace gametest
