#include "com_ravelstone_brume_AMS.h"

#include <string>

#include "HALEvents.h"
#include "HALProperties.h"
#include "VMServices.h"
#include "VMThrow.h"
#include "java_lang_Class.h"
#include "java_lang_InstantiationException.h"
#include "java_lang_NullPointerException.h"

VM_REGISTER_CLASS(com::ravelstone::brume::AMS, "com.ravelstone.brume.AMS", "java.lang.Object", VM_HAS_CLINIT);
VM_REGISTER_ENTRY_POINT(com::ravelstone::brume::AMS, com::ravelstone::brume::AMS::_VM_main);

namespace com::ravelstone::brume {

using javax::microedition::midlet::MIDlet;

VMStatic<MIDlet> AMS::midlet;

namespace {

// Starts (or resumes) the MIDlet when it may move to starting.
void start(const VMPtr<MIDlet>& m) {
  if (!m->setState(MIDlet::kStarting)) return;
  m->startApp();
  m->setState(MIDlet::kActive);
}

void onResume(int type, int, const intptr_t*) {
  VMPtr<MIDlet> m = AMS::midlet;
  if (m && type == HAL_EVENT_RESUME) start(m);
}

void onPauseOrExit(int type, int, const intptr_t*) {
  VMPtr<MIDlet> m = AMS::midlet;
  if (!m) return;
  if (type == HAL_EVENT_PAUSE && m->setState(MIDlet::kPausing)) {
    m->pauseApp();
    m->setState(MIDlet::kPaused);
  } else if (type == HAL_EVENT_EXIT && m->setState(MIDlet::kDestroying)) {
    m->destroyApp(1);
    m->setState(MIDlet::kDestroyed);
  }
}

}  // namespace

void AMS::_VM_clinit() {
  HAL_addEventListener(onResume, 1u << HAL_EVENT_RESUME, 0);
  HAL_addEventListener(onPauseOrExit, (1u << HAL_EVENT_PAUSE) | (1u << HAL_EVENT_EXIT), 2);
}

void AMS::_VM_main(intptr_t) { main(VMPtr<VMArray<java::lang::String>>()); }

void AMS::main(VMPtr<VMArray<java::lang::String>>) {
  if (startMIDlet(1) == 0) _VM_fatalError("Failed to load MIDlet!");
}

VMPtr<java::lang::String> AMS::_VM_className(VMPtr<java::lang::String> value) {
  const int32_t first = value->indexOf(',');
  const int32_t second = value->indexOf(',', first + 1);
  return value->substring(second + 1)->trim();
}

int32_t AMS::startMIDlet(int32_t n) {
  _VM_clinitCheck();
  const std::string key = "MIDlet-" + std::to_string(n);
  VMPtr<java::lang::String> value = getAppProperty(java::lang::String::_VM_fromUTF8(key.c_str()));
  if (!value) return 0;
  VMPtr<java::lang::String> name = _VM_className(value);
  if (name->length() == 0) return 0;
  VMPtr<java::lang::Object> made = java::lang::Class::forName(name)->newInstance();
  VMPtr<MIDlet> loaded = VMPtr<MIDlet>(dynamic_cast<MIDlet*>(made.get()));
  if (!loaded) _VM_throwNew<java::lang::InstantiationException>("Class not a MIDlet");
  midlet = loaded;
  start(loaded);
  return 1;
}

VMPtr<java::lang::String> AMS::getAppProperty(VMPtr<java::lang::String> key) {
  if (!key) _VM_throwNew<java::lang::NullPointerException>();
  const int32_t length = HAL_getApplicationPropertyLength(key->_VM_chars(), key->length());
  if (length < 0) return VMPtr<java::lang::String>();
  std::u16string value(static_cast<size_t>(length), u'\0');
  int32_t copied = length;
  const HALStatus status = HAL_getApplicationProperty(key->_VM_chars(), key->length(), value.data(), &copied);
  if (status == HAL_NOT_FOUND_ERR) return VMPtr<java::lang::String>();
  if (status != HAL_OK) _VM_fatalError("HAL_getApplicationProperty() failed!");
  return java::lang::String::_VM_fromUTF16(value.data(), copied);
}

}  // namespace com::ravelstone::brume
