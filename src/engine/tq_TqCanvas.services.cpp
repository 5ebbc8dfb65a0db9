// Device services (vibration, orientation, alarm, keep-awake), number
// parsing and formatting, the debug log, and the resource shortcuts.
#include <cstdint>

#include "VMSynchronized.h"
#include "java_lang_Class.h"
#include "java_lang_Exception.h"
#include "java_lang_Integer.h"
#include "java_lang_System.h"
#include "javax_microedition_io_PushRegistry.h"
#include "javax_microedition_lcdui_Display.h"
#include "tq_Resources.h"
#include "tq_TqCanvas.h"
#include "tq_platform_brume_TqBrume.h"

namespace tq {

using java::lang::Exception;
using platform::brume::TqBrume;

void TqCanvas::initDeviceFeatures() {
  VMSynchronized guard(this);
  if (featuresInitialised) return;
  featuresInitialised = 1;
  vibrationEnabled = 1;
  secondaryVibrationEnabled = 1;
  soundEnabled = 1;
}

namespace {

void vibrateThrough(const VMPtr<javax::microedition::midlet::MIDlet>& midlet, int32_t ms) {
  try {
    javax::microedition::lcdui::Display::getDisplay(midlet)->vibrate(ms);
  } catch (Exception* e) {
    VMPtr<Exception> ignored(e);
  }
}

}  // namespace

void TqCanvas::vibrate(int32_t ms) {
  initDeviceFeatures();
  if (vibrationEnabled) vibrateThrough(VMPtr<MIDlet>(midlet), ms);
}

void TqCanvas::vibrateSecondary(int32_t ms) {
  initDeviceFeatures();
  if (secondaryVibrationEnabled) vibrateThrough(VMPtr<MIDlet>(midlet), ms);
}

void TqCanvas::setVibrationEnabled(uint8_t enabled) {
  initDeviceFeatures();
  vibrationEnabled = enabled;
}

uint8_t TqCanvas::isVibrationEnabled() {
  initDeviceFeatures();
  return vibrationEnabled;
}

void TqCanvas::setSecondaryVibrationEnabled(uint8_t enabled) {
  initDeviceFeatures();
  secondaryVibrationEnabled = enabled;
}

uint8_t TqCanvas::isSecondaryVibrationEnabled() {
  initDeviceFeatures();
  return secondaryVibrationEnabled;
}

uint8_t TqCanvas::setOrientation(int32_t code) {
  const int32_t taken = changeOrientation(code);
  sleep(20);
  return taken != 0;
}

int32_t TqCanvas::changeOrientation(int32_t code) { return TqBrume::setOrientation(code) ? 1 : 0; }

int32_t TqCanvas::currentOrientation() { return TqBrume::getOrientation(); }

int32_t TqCanvas::getOrientation() { return currentOrientation(); }

void TqCanvas::setSleepAllowed(uint8_t allowed) { TqBrume::setSleepAllowed(allowed); }

uint8_t TqCanvas::setAlarm(int32_t seconds) {
  try {
    VMPtr<java::lang::String> name = VMPtr<MIDlet>(midlet)->getClass()->getName();
    const int64_t time = seconds < 1 ? 0 : java::lang::System::currentTimeMillis() + int64_t{seconds} * 1000;
    javax::microedition::io::PushRegistry::registerAlarm(name, time);
    return 1;
  } catch (Exception* e) {
    VMPtr<Exception> refused(e);
    return 0;
  }
}

int32_t TqCanvas::parseInt(VMPtr<java::lang::String> s, int32_t defaultValue) { return parseInt(s, defaultValue, 10); }

int32_t TqCanvas::parseInt(VMPtr<java::lang::String> s, int32_t defaultValue, int32_t radix) {
  try {
    return java::lang::Integer::parseInt(s, radix);
  } catch (Exception* e) {
    VMPtr<Exception> notANumber(e);
    return defaultValue;
  }
}

void TqCanvas::appendNumber(VMPtr<java::lang::StringBuffer> sb, int32_t value) { appendNumber(sb, value, 0); }

void TqCanvas::appendNumber(VMPtr<java::lang::StringBuffer> sb, int32_t value, int32_t minDigits) {
  insertNumber(sb, value, minDigits, sb->length());
}

void TqCanvas::log(int32_t level, VMPtr<java::lang::String> message) {
  log(level, message, VMPtr<java::lang::Object>(), VMPtr<java::lang::Throwable>());
}

void TqCanvas::log(int32_t level, VMPtr<java::lang::String> message, VMPtr<java::lang::Object> object) {
  log(level, message, object, VMPtr<java::lang::Throwable>());
}

void TqCanvas::log(int32_t level, VMPtr<java::lang::String> message, VMPtr<java::lang::Throwable> thrown) {
  log(level, message, VMPtr<java::lang::Object>(), thrown);
}

int32_t TqCanvas::loadIndex(VMPtr<java::io::DataInputStream> in) { return Resources::loadIndex(in); }

int32_t TqCanvas::getResourceType(int32_t id) { return Resources::getType(id); }

int32_t TqCanvas::getResourceSize(int32_t id) { return Resources::getSize(id); }

uint8_t TqCanvas::loadIndexFromRecord(int32_t recordId) { return Resources::loadIndexFromRecord(recordId); }

void TqCanvas::closePack() { Resources::closePack(); }

VMPtr<javax::microedition::lcdui::Image> TqCanvas::getImage(int32_t id) { return Resources::getImage(id); }

VMPtr<javax::microedition::lcdui::Image> TqCanvas::getImage(int32_t id, VMPtr<VMArray<int8_t>> palette) {
  return Resources::getImage(id, palette);
}

VMPtr<VMArray<int8_t>> TqCanvas::getBytes(int32_t id) { return Resources::getBytes(id); }

VMPtr<java::io::DataInputStream> TqCanvas::getStream(int32_t id) { return Resources::getStream(id); }

VMPtr<VMArray<int8_t>> TqCanvas::buildPack(VMPtr<VMArray<int8_t, 2>> data, VMPtr<VMArray<int8_t>> types) {
  return Resources::buildPack(data, types);
}

}  // namespace tq
