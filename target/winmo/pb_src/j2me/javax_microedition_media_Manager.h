#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"
#include "java_lang_String.h"
#include "javax_microedition_media_Player.h"

namespace javax::microedition::media {

// Makes players from a locator ("file:" or "x-jar:", read at realize) or
// from sound data. Data players accept WAV only ("audio/x-wav", or no
// type); every other type, MIDI included, gives MediaException.
class Manager : public virtual java::lang::Object {
  VM_CLASS(Manager, java::lang::Object)

 public:
  // Content codes of MIME types (0 for an unknown type).
  static constexpr int32_t CONTENT_NONE = 1;
  static constexpr int32_t CONTENT_WAV = 2;
  static constexpr int32_t CONTENT_MIDI = 6;
  // Protocol codes of locators (0 for an unknown protocol or none).
  static constexpr int32_t PROTOCOL_DEVICE = 2;
  static constexpr int32_t PROTOCOL_HTTP = 3;
  static constexpr int32_t PROTOCOL_FILE = 4;
  static constexpr int32_t PROTOCOL_JAR = 5;

  // IllegalArgumentException "Manager.createPlayer passed null locator";
  // MediaException for a protocol other than "file" and "x-jar".
  static VMPtr<Player> createPlayer(VMPtr<java::lang::String> locator);
  // NullPointerException for null data, ArrayIndexOutOfBoundsException for
  // a range outside it, MediaException for a type other than "audio/x-wav"
  // or null. The player keeps the array; it is read at realize.
  static VMPtr<Player> createPlayer(VMPtr<VMArray<int8_t>> data, int32_t offset, int32_t length,
                                    VMPtr<java::lang::String> type);

  // The content code of a MIME type, and back (null for codes without one).
  static int32_t contentCode(VMPtr<java::lang::String> type);
  static VMPtr<java::lang::String> contentType(int32_t code);

  static void _VM_clinit();

  static VMStatic<java::lang::String> MIDI_DEVICE_LOCATOR;
  static VMStatic<java::lang::String> TONE_DEVICE_LOCATOR;
};

}  // namespace javax::microedition::media
