#include "javax_microedition_midlet_MIDlet.h"

#include "HALEvents.h"
#include "HALExitURL.h"
#include "VMServices.h"
#include "VMThrow.h"
#include "com_ravelstone_brume_AMS.h"
#include "java_lang_NullPointerException.h"
#include "javax_microedition_io_ConnectionNotFoundException.h"

VM_REGISTER_CLASS(javax::microedition::midlet::MIDlet, "javax.microedition.midlet.MIDlet", "java.lang.Object",
                  VM_ABSTRACT);

namespace javax::microedition::midlet {

VMPtr<MIDlet> MIDlet::_VM_init() {
  Object::_VM_init();
  state = kConstructed;
  return VMPtr<MIDlet>(this);
}

uint8_t MIDlet::setState(int32_t newState) {
  if (newState < kPaused || newState > kDestroyed) return 0;
  bool refused = false;
  switch (state) {
    case kPaused: refused = newState == kPausing; break;
    case kActive: refused = newState == kConstructed || newState == kStarting; break;
    case kConstructed: refused = newState == kPausing; break;
    case kDestroying: refused = newState != kDestroyed; break;
    case kDestroyed: refused = true; break;
    default: break;
  }
  if (refused) return 0;
  state = newState;
  return 1;
}

void MIDlet::notifyDestroyed() {
  setState(kDestroyed);
  HAL_requestExit();
}

uint8_t MIDlet::platformRequest(VMPtr<java::lang::String> url) {
  if (!url) _VM_throwNew<java::lang::NullPointerException>();
  uint8_t mustExit = 0;
  const HALStatus status = HAL_openURL(url->_VM_chars(), url->length(), &mustExit);
  if (status == HAL_NOT_FOUND_ERR) _VM_throwNew<javax::microedition::io::ConnectionNotFoundException>();
  if (status != HAL_OK) _VM_fatalError("Unexpected error from HAL_openURL() in platformRequest!");
  return mustExit;
}

VMPtr<java::lang::String> MIDlet::getAppProperty(VMPtr<java::lang::String> key) {
  return com::ravelstone::brume::AMS::getAppProperty(key);
}

}  // namespace javax::microedition::midlet
