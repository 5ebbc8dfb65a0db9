#include "HALDeviceFacts.h"

HALDeviceFacts& HALDeviceFacts::instance() {
  // Never destroyed: threads still running at process exit may read it.
  static HALDeviceFacts* facts = new HALDeviceFacts();
  return *facts;
}
