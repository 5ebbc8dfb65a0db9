// The canvas's device services on this platform: the capability flags,
// vibration without a display, the alarm the platform refuses, and the
// view setters.

#include <gtest/gtest.h>

#include "TestCanvas.h"
#include "VMTestEnv.h"

using test::canvasdata::TestCanvas;

namespace {

TEST(CanvasServices, CapabilitiesVibrationAndAlarm) {
  VMTestEnv::start();
  VMPtr<TestCanvas> canvas = TestCanvas::make();
  EXPECT_FALSE(canvas->soundEnabled);
  EXPECT_TRUE(canvas->isVibrationEnabled());
  EXPECT_TRUE(canvas->soundEnabled);
  EXPECT_TRUE(canvas->isSecondaryVibrationEnabled());
  canvas->setVibrationEnabled(0);
  canvas->initDeviceFeatures();  // only the first call switches them on
  EXPECT_FALSE(canvas->isVibrationEnabled());
  // Without a MIDlet there is no display: the failure is swallowed.
  canvas->vibrate(10);
  canvas->vibrateSecondary(10);
  EXPECT_FALSE(canvas->setAlarm(0));
  EXPECT_FALSE(canvas->setAlarm(60));
  EXPECT_EQ(canvas->getElapsedTime(), 0);
  TestCanvas::stop();
}

TEST(CanvasServices, ViewSettersStoreAsTold) {
  VMTestEnv::start();
  VMPtr<TestCanvas> canvas = TestCanvas::make();
  canvas->setViewOrigin(5, 7);
  canvas->setViewWidth(-3);
  canvas->setViewHeight(90);
  EXPECT_EQ(canvas->getViewX(), 5);
  EXPECT_EQ(canvas->getViewY(), 7);
  EXPECT_EQ(canvas->getViewWidth(), -3);
  EXPECT_EQ(canvas->getViewHeight(), 90);
  canvas->setViewX(0);
  canvas->setViewY(1);
  EXPECT_EQ(canvas->getViewX(), 0);
  EXPECT_EQ(canvas->getViewY(), 1);
  TestCanvas::stop();
}

}  // namespace
