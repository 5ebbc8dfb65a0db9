// Device information, the device id, the model table and the quirks.
#include <gtest/gtest.h>

#include <string>

#include "HALDevice.h"
#include "DeviceProfile.h"
#include "HALProperties.h"

namespace {

void addSystemProperties(const std::string& text) {
  HAL_addPropertiesText(HAL_SYSTEM_PROPERTIES, reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

std::u16string quirkValue(const char* subName) {
  char16_t buffer[64];
  if (!HAL_getQuirkValue(HAL_QUIRK_IGNORE_SOME_POINTER_EVENTS, nullptr, subName, buffer, 64)) return u"<none>";
  return buffer;
}

TEST(Device, SystemInformationComesFromTheFactsAndIsKept) {
  DeviceProfile::instance().updateFacts([](DeviceProfile::Facts& facts) {
    facts.manufacturer = u"Maker";
    facts.oemInfo = std::u16string(70, u'o');
    facts.deviceName = u"Phone";
    facts.platformType = u"Smartphone";
    facts.osMajor = 6;
    facts.osMinor = 1;
  });
  EXPECT_EQ(HAL_getManufacturer(), u"Maker");
  EXPECT_EQ(HAL_getModel(), std::u16string(64, u'o'));  // 64 characters at most
  EXPECT_EQ(HAL_getDeviceName(), u"Phone");
  EXPECT_EQ(HAL_getOSName(), u"WinCE (WM Smartphone)");
  EXPECT_EQ(HAL_getOSVersion(), u"6.1");
  DeviceProfile::instance().updateFacts([](DeviceProfile::Facts& facts) { facts.manufacturer = u"Other"; });
  EXPECT_EQ(HAL_getManufacturer(), u"Maker");
  EXPECT_EQ(HAL_getDeviceModelId(), HAL_MODEL_OTHER);
}

TEST(Device, UniqueIdIsHexAndBounded) {
  DeviceProfile::instance().updateFacts([](DeviceProfile::Facts& f) { f.uniqueId = std::vector<uint8_t>{0x01, 0xAB, 0xF0}; });
  char16_t buffer[60];
  int32_t n = 60;
  ASSERT_EQ(HAL_getDeviceUniqueId(buffer, &n), HAL_OK);
  EXPECT_EQ(std::u16string(buffer, static_cast<size_t>(n)), u"01abf0");
  n = 3;
  ASSERT_EQ(HAL_getDeviceUniqueId(buffer, &n), HAL_OK);
  EXPECT_EQ(std::u16string(buffer, static_cast<size_t>(n)), u"01a");
  EXPECT_EQ(HAL_getDeviceUniqueId(nullptr, &n), HAL_ILLEGAL_ARGUMENT_ERR);
  EXPECT_EQ(HAL_getDeviceUniqueId(buffer, nullptr), HAL_ILLEGAL_ARGUMENT_ERR);
  DeviceProfile::instance().updateFacts([](DeviceProfile::Facts& f) { f.uniqueId = std::vector<uint8_t>{}; });  // the host's id: 20 bytes
  n = 60;
  ASSERT_EQ(HAL_getDeviceUniqueId(buffer, &n), HAL_OK);
  EXPECT_EQ(n, 40);
  DeviceProfile::instance().updateFacts([](DeviceProfile::Facts& f) { f.uniqueId = std::nullopt; });
  EXPECT_EQ(HAL_getDeviceUniqueId(buffer, &n), HAL_NOT_IMPLEMENTED_ERR);
}

TEST(Device, KnownModelTurnsThePointerQuirkOn) {
  DeviceProfile::instance().updateFacts([](DeviceProfile::Facts& f) { f.oemInfo = u"HTC Touch Pro2 T7373"; });
  EXPECT_EQ(HAL_getDeviceModelId(), 4);
  EXPECT_TRUE(HAL_isQuirkOn(HAL_QUIRK_IGNORE_SOME_POINTER_EVENTS));
  EXPECT_EQ(quirkValue("WHERE"), u"407,26,505,26");
  EXPECT_EQ(quirkValue("OTHER"), u"<none>");
  int32_t numbers[16];
  int32_t count = 16;
  HAL_getQuirkNumbers(HAL_QUIRK_IGNORE_SOME_POINTER_EVENTS, nullptr, numbers, &count);
  ASSERT_EQ(count, 4);
  EXPECT_EQ(numbers[2], 505);
  count = 3;
  HAL_getQuirkNumbers(HAL_QUIRK_IGNORE_SOME_POINTER_EVENTS, nullptr, numbers, &count);
  EXPECT_EQ(count, 3);
}

TEST(Device, MakerOnlyModelNeedsAPortraitOrLandscapeQVGAScreen) {
  DeviceProfile::instance().updateFacts([](DeviceProfile::Facts& f) { f.oemInfo = u"SAMSUNG"; });
  EXPECT_EQ(HAL_getDeviceModelId(), 5);
  int32_t w = 0, h = 0;
  HAL_getScreenMetrics(&w, &h);
  EXPECT_EQ(HAL_isQuirkOn(HAL_QUIRK_IGNORE_SOME_POINTER_EVENTS), (w == 240 && h == 320) || (w == 320 && h == 240));
}

TEST(Device, QuirkPropertiesWinOverTheModel) {
  const struct {
    const char* value;
    bool on;
  } cases[] = {{"false", false}, {"0", false}, {"junk", false}, {"1", true}, {" -3x", true}, {"", false}};
  for (const auto& c : cases) {
    // A quirk's state is found once per process: test each in a child.
    EXPECT_EXIT(
        {
          DeviceProfile::instance().updateFacts([](DeviceProfile::Facts& f) { f.oemInfo = u"HTC Touch Pro2 T7373"; });
          addSystemProperties(std::string("TQ_WINCE_PROPERTY_BUG_IGNORE_SOME_POINTER_EVENTS: ") + c.value + "\n");
          std::exit(HAL_isQuirkOn(HAL_QUIRK_IGNORE_SOME_POINTER_EVENTS) ? 3 : 4);
        },
        testing::ExitedWithCode(c.on ? 3 : 4), "")
        << c.value;
  }
}

TEST(Device, QuirkNumbersFromAPropertyAreBounded) {
  addSystemProperties(
      "TQ_WINCE_PROPERTY_BUG_IGNORE_SOME_POINTER_EVENTS_WHERE: 1,2, 3,-4,99999999999,6,7,8,9,10,11,12,13,14,15,16,17,18\n");
  int32_t numbers[16];
  int32_t count = 16;
  HAL_getQuirkNumbers(HAL_QUIRK_IGNORE_SOME_POINTER_EVENTS, nullptr, numbers, &count);
  ASSERT_EQ(count, 16);
  EXPECT_EQ(numbers[2], 3);
  EXPECT_EQ(numbers[3], -4);
  EXPECT_EQ(numbers[4], INT32_MAX);
  addSystemProperties("TQ_WINCE_PROPERTY_BUG_IGNORE_SOME_POINTER_EVENTS_WHERE: 5,x,7\n");
  count = 16;
  HAL_getQuirkNumbers(HAL_QUIRK_IGNORE_SOME_POINTER_EVENTS, nullptr, numbers, &count);
  EXPECT_EQ(count, 1);
  count = 16;
  HAL_getQuirkNumbers(7, nullptr, numbers, &count);  // no such quirk
  EXPECT_EQ(count, 0);
  EXPECT_FALSE(HAL_isQuirkOn(-1));
}

}  // namespace

#include "HALVendor.h"

namespace {

TEST(Device, MissingVendorLibrariesLeaveTheirFeaturesOff) {
  HAL_loadVendorLibraries();
  EXPECT_FALSE(HAL_isOpticalMousePresent());
  EXPECT_EQ(HAL_getWheelKeyTest(), nullptr);  // up and down never carry the wheel codes
  HAL_switchOpticalMouseOn();
  HAL_closeVendorLibraries();
}

}  // namespace
