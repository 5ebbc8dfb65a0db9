// Orientation through the table of the system properties, the display's
// refusal, TqBrume, and the keep-awake period.
#include <gtest/gtest.h>

#include <string>

#include "CeWindows.h"
#include "HALOrientation.h"
#include "HALPower.h"
#include "HALProperties.h"
#include "tq_platform_brume_TqBrume.h"

namespace {

using tq::platform::brume::TqBrume;

void initWith(const std::string& sysProp) {
  HAL_freeProperties();
  HAL_addPropertiesText(HAL_SYSTEM_PROPERTIES, reinterpret_cast<const uint8_t*>(sysProp.data()), sysProp.size());
  HAL_initOrientation();
}

uint32_t displayValue() {
  ce::DEVMODEW mode{};
  mode.dmFields = ce::DM_DISPLAYORIENTATION;
  ce::ChangeDisplaySettingsExW(nullptr, &mode, nullptr, ce::CDS_TEST, nullptr);
  return mode.dmDisplayOrientation;
}

int32_t orientation() {
  int32_t code = -1;
  EXPECT_EQ(HAL_getOrientation(&code), HAL_OK);
  return code;
}

TEST(Orientation, IdentityTableMapsCodesToTheDisplay) {
  initWith("");
  const struct {
    int32_t code;
    uint32_t display;
  } cases[] = {{1, 0}, {2, 1}, {3, 2}, {4, 4}};
  for (const auto& c : cases) {
    EXPECT_EQ(HAL_setOrientation(c.code), HAL_OK);
    EXPECT_EQ(displayValue(), c.display) << c.code;
    EXPECT_EQ(orientation(), c.code);
  }
  // None: nothing changes; codes outside 0..4 are refused.
  EXPECT_EQ(HAL_setOrientation(0), HAL_OK);
  EXPECT_EQ(displayValue(), 4u);
  EXPECT_EQ(HAL_setOrientation(5), HAL_BAD_ORIENTATION_ERR);
  EXPECT_EQ(HAL_setOrientation(-1), HAL_BAD_ORIENTATION_ERR);
  EXPECT_EQ(displayValue(), 4u);
  EXPECT_EQ(HAL_getOrientation(nullptr), HAL_ILLEGAL_ARGUMENT_ERR);
  // A value the table does not cover reads as none.
  CeDisplay::setOrientation(3);
  EXPECT_EQ(orientation(), 0);
}

TEST(Orientation, TheTableRedirectsRequests) {
  initWith("WinceDisplayOrientation0: rotate90cw\nWinceDisplayOrientation90: bogus\n");
  EXPECT_EQ(HAL_setOrientation(1), HAL_OK);  // normal is really 270°
  EXPECT_EQ(displayValue(), 4u);
  EXPECT_EQ(HAL_setOrientation(2), HAL_OK);  // an unknown value keeps the identity
  EXPECT_EQ(displayValue(), 1u);
}

TEST(Orientation, RequestedOrientationIsAppliedAgain) {
  initWith("");
  CeDisplay::setOrientation(0);
  HAL_reapplyOrientation();  // nothing requested: nothing happens
  EXPECT_EQ(displayValue(), 0u);
  EXPECT_EQ(HAL_setOrientation(3), HAL_OK);
  CeDisplay::setOrientation(0);
  HAL_reapplyOrientation();
  EXPECT_EQ(displayValue(), 2u);
}

TEST(Orientation, TqBrumeReportsARefusal) {
  initWith("");
  EXPECT_EQ(TqBrume::setOrientation(2), 1);
  EXPECT_EQ(TqBrume::getOrientation(), 2);
  CeDisplay::setRefusesChanges(true);
  EXPECT_EQ(HAL_setOrientation(3), HAL_BAD_ORIENTATION_ERR);
  EXPECT_EQ(TqBrume::setOrientation(3), 0);
  EXPECT_EQ(TqBrume::getOrientation(), 2);
  CeDisplay::setRefusesChanges(false);
}

TEST(KeepAwake, PeriodIsNinetyPercentOfTheShortestTimeoutAtMostFiveSeconds) {
  const struct {
    std::vector<uint32_t> seconds;
    uint32_t period;
  } cases[] = {
      {{60, 30}, 5000}, {{4}, 3600}, {{0, 4, 0, 5}, 3600}, {{}, 5000}, {{0, 0}, 5000}, {{1}, 900},
      {{0xFFFFFFFFu}, 5000},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HAL_keepAwakePeriod(c.seconds.data(), static_cast<int>(c.seconds.size())), c.period);
  }
}

}  // namespace
