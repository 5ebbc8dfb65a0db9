#include "javax_microedition_media_Manager.h"

#include "VMThrow.h"
#include "com_ravelstone_brume_media_Player.h"
#include "java_lang_ArrayIndexOutOfBoundsException.h"
#include "java_lang_IllegalArgumentException.h"
#include "java_lang_NullPointerException.h"
#include "javax_microedition_media_MediaException.h"

VM_REGISTER_CLASS(javax::microedition::media::Manager, "javax.microedition.media.Manager", "java.lang.Object",
                  VM_HAS_CLINIT);

namespace javax::microedition::media {

namespace {

struct Named {
  const char* name;
  int32_t code;
};

// Checked in this order.
constexpr Named kContentTypes[] = {
    {"audio/midi", 6}, {"audio/x-wav", 2}, {"audio/mpeg", 4},      {"audio/aac", 5},
    {"audio/x-caf", 3}, {"audio/mp4", 7},  {"audio/x-ms-wma", 8}, {"audio/vnd.qcelp", 11},
};

constexpr Named kProtocols[] = {{"device", 2}, {"http", 3}, {"file", 4}, {"x-jar", 5}};

bool supportedDataType(int32_t code) { return code == Manager::CONTENT_WAV; }
bool supportedProtocol(int32_t code) { return code == Manager::PROTOCOL_FILE || code == Manager::PROTOCOL_JAR; }

}  // namespace

VMStatic<java::lang::String> Manager::MIDI_DEVICE_LOCATOR;
VMStatic<java::lang::String> Manager::TONE_DEVICE_LOCATOR;

void Manager::_VM_clinit() {
  MIDI_DEVICE_LOCATOR = java::lang::String::_VM_fromUTF8("device://midi");
  TONE_DEVICE_LOCATOR = java::lang::String::_VM_fromUTF8("device://tone");
}

int32_t Manager::contentCode(VMPtr<java::lang::String> type) {
  if (!type) return CONTENT_NONE;
  for (const Named& t : kContentTypes) {
    if (type->_VM_equals(t.name)) return t.code;
  }
  return 0;
}

VMPtr<java::lang::String> Manager::contentType(int32_t code) {
  for (const Named& t : kContentTypes) {
    if (t.code == code) return java::lang::String::_VM_fromUTF8(t.name);
  }
  return nullptr;
}

VMPtr<Player> Manager::createPlayer(VMPtr<java::lang::String> locator) {
  if (!locator) _VM_throwNew<java::lang::IllegalArgumentException>("Manager.createPlayer passed null locator");
  const int32_t colon = locator->indexOf(u':');
  int32_t protocol = 0;
  if (colon >= 0) {
    VMPtr<java::lang::String> name = locator->substring(0, colon);
    for (const Named& p : kProtocols) {
      if (name->_VM_equals(p.name)) protocol = p.code;
    }
  }
  if (!supportedProtocol(protocol)) _VM_throwNew<MediaException>();
  VMPtr<com::ravelstone::brume::media::Player> player = com::ravelstone::brume::media::Player::_VM_new();
  player->_VM_init(locator->substring(colon + 1), protocol);
  return player;
}

VMPtr<Player> Manager::createPlayer(VMPtr<VMArray<int8_t>> data, int32_t offset, int32_t length,
                                    VMPtr<java::lang::String> type) {
  if (!data) _VM_throwNew<java::lang::NullPointerException>();
  if (offset < 0 || offset >= data->length || length < 0 || int64_t{offset} + length > data->length) {
    _VM_throwNew<java::lang::ArrayIndexOutOfBoundsException>();
  }
  const int32_t code = contentCode(type);
  if (code != CONTENT_NONE && !supportedDataType(code)) _VM_throwNew<MediaException>();
  VMPtr<com::ravelstone::brume::media::Player> player = com::ravelstone::brume::media::Player::_VM_new();
  player->_VM_init(data, offset, length, type);
  return player;
}

}  // namespace javax::microedition::media
