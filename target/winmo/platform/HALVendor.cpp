#include "HALVendor.h"

#include <mutex>

#include "CeWindows.h"

using namespace ce;

namespace {

using SdkVersionFn = int (*)(uint32_t*);
using MouseCapsFn = int (*)(void*);
using MouseModeFn = int (*)(int);
using WheelKeyFn = int (*)(uint32_t, uint32_t);
using SensorOpenFn = void* (*)(int);
using SensorCloseFn = int (*)(void*);
using SensorDataFn = int (*)(void*, void*);

HMODULE mouseLibrary = nullptr;
MouseModeFn setMouseMode = nullptr;
WheelKeyFn isWheelKey = nullptr;
bool mousePresent = false;

HMODULE sensorLibrary = nullptr;
SensorCloseFn closeSensor = nullptr;
void* sensor = nullptr;
std::mutex* sensorLock = nullptr;

template <class F>
F find(HMODULE library, const char16_t* name) {
  return reinterpret_cast<F>(GetProcAddressW(library, name));
}

void loadOpticalMouse() {
  mouseLibrary = LoadLibraryW(u"SamsungMobilesdk_1.dll");
  if (!mouseLibrary) return;
  auto version = find<SdkVersionFn>(mouseLibrary, u"SmiGetSdkVersion");
  auto capabilities = find<MouseCapsFn>(mouseLibrary, u"SmiOpticalMouseGetCapabilities");
  setMouseMode = find<MouseModeFn>(mouseLibrary, u"SmiOpticalMouseSetMode");
  isWheelKey = find<WheelKeyFn>(mouseLibrary, u"SmiKeyMsgIsFromWheelKey");
  uint32_t sdk = 0;
  uint8_t caps[64] = {};
  mousePresent = version && version(&sdk) == 0 && capabilities && capabilities(caps) == 0 && setMouseMode &&
                 isWheelKey;
}

void loadSensor() {
  sensorLibrary = LoadLibraryW(u"HTCSensorSDK.dll");
  if (!sensorLibrary) return;
  auto open = find<SensorOpenFn>(sensorLibrary, u"HTCSensorOpen");
  closeSensor = find<SensorCloseFn>(sensorLibrary, u"HTCSensorClose");
  auto data = find<SensorDataFn>(sensorLibrary, u"HTCSensorGetDataOutput");
  if (!open || !closeSensor || !data) return;
  sensorLock = new std::mutex();
  sensor = open(1);
}

bool wheelKey(uint32_t vk, uint32_t scanCode) { return isWheelKey && isWheelKey(vk, scanCode) != 0; }

}  // namespace

void HAL_loadVendorLibraries() {
  loadOpticalMouse();
  HAL_switchOpticalMouseOn();
  loadSensor();
}

void HAL_closeVendorLibraries() {
  if (sensor && closeSensor) closeSensor(sensor);
  sensor = nullptr;
  delete sensorLock;
  sensorLock = nullptr;
}

bool HAL_isOpticalMousePresent() { return mousePresent; }

void HAL_switchOpticalMouseOn() {
  if (mousePresent) setMouseMode(1);
}

bool (*HAL_getWheelKeyTest())(uint32_t vk, uint32_t scanCode) { return mousePresent ? wheelKey : nullptr; }
