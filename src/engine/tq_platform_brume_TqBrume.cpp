#include "tq_platform_brume_TqBrume.h"

#include "HALOrientation.h"
#include "HALPower.h"
#include "HALShell.h"
#include "VMServices.h"
#include "javax_microedition_media_Manager.h"

VM_REGISTER_CLASS(tq::platform::brume::TqBrume, "tq.platform.brume.TqBrume", "java.lang.Object", 0);

namespace tq::platform::brume {

int32_t TqBrume::getOrientation() {
  int32_t code = 0;
  if (HAL_getOrientation(&code) != HAL_OK) _VM_fatalError("HAL_getOrientation() failed.");
  return code;
}

uint8_t TqBrume::setOrientation(int32_t code) {
  const HALStatus status = HAL_setOrientation(code);
  if (status == HAL_BAD_ORIENTATION_ERR) return 0;
  if (status != HAL_OK) _VM_fatalError("HAL_setOrientation() failed.");
  return 1;
}

void TqBrume::setSleepAllowed(uint8_t allowed) { HAL_setKeepAwake(allowed ? 0 : 1); }

void TqBrume::exitWithFailure() { HAL_requestFailedExit(); }

VMPtr<javax::microedition::media::Player> TqBrume::createPlayer(VMPtr<VMArray<int8_t>> data, int32_t offset,
                                                               int32_t length, VMPtr<java::lang::String> type) {
  return javax::microedition::media::Manager::createPlayer(data, offset, length, type);
}

}  // namespace tq::platform::brume
