#pragma once

// The fixture of the display tests: a test VM whose platform events reach
// the listeners as in the real VM, the event registry, and the display.

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdint>
#include <string>
#include <vector>

#include "HALCallbacks.h"
#include "HALEvents.h"
#include "HALProperties.h"
#include "HALShell.h"
#include "HALWindow.h"
#include "VMTestEnv.h"
#include "javax_microedition_lcdui_Display.h"

class DisplayFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    VMTestEnv::start();
    VMCallbacks table = *HAL_getVMCallbacks();
    table.broadcastEvent = HAL_broadcastEvent;
    HAL_setVMCallbacks(&table);
    HAL_createEventRegistry();
    display = javax::microedition::lcdui::Display::getDisplay(nullptr).get();  // a static of its class keeps it
  }
  // Raises a platform event with its payload words, as the window does.
  static int raise(int type, std::vector<intptr_t> words) {
    return HAL_broadcastEvent(type, static_cast<int>(words.size()), words.data());
  }
  // Loads the properties and names the MIDlet after this process, so the
  // main window's single-instance lock is this test's own: tests running
  // side by side, or the game itself, would otherwise hold the same one.
  static void loadPropertiesUnderOwnName() {
    HAL_loadProperties();
    const std::string name = "MIDlet-Name: test-" + std::to_string(getpid()) + "\n";
    HAL_addPropertiesText(HAL_APPLICATION_PROPERTIES, reinterpret_cast<const uint8_t*>(name.data()), name.size());
  }
  // Dispatches the messages posted to the main window, as the main loop
  // does: a full-screen switch asked for off the main thread arrives so.
  static void pumpMessages() {
    ce::MSG msg;
    while (ce::PeekMessageW(&msg, HAL_getMainWindow(), 0, 0, ce::PM_REMOVE)) HAL_dispatchMessage(&msg);
  }
  javax::microedition::lcdui::Display* display = nullptr;
};
