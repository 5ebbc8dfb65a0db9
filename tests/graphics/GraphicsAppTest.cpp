// The real program with a MIDlet that draws shapes, an image and text
// through Graphics into a screen buffer (jme_graphics_app), run as a child
// process: headless, where the recorded frames must equal the buffer, and
// with the SDL2 window (on SDL's dummy driver in CI), where they are shown.
#include <gtest/gtest.h>

#include <string>
#include <unistd.h>

#include "AppProcess.h"

namespace {

const std::string kGraphicsApp = std::string(JME_BINARY_DIR) + "/jme_graphics_app";

std::string properties() {
  return "MIDlet-Name: graphics-" + std::to_string(getpid()) +
         "\nMIDlet-1: Graphics, /icon.png, graphicstest.GraphicsMIDlet\n";
}

TEST(GraphicsApp, FramesFlushedOnTheMainThreadAndFromAJavaThreadAreShownExactly) {
  AppProcess app(kGraphicsApp, properties());
  app.start();
  EXPECT_EQ(app.readLine(), "main-frame ok");
  EXPECT_EQ(app.readLine(), "thread-frame ok");
  app.send("close");
  EXPECT_EQ(app.readLine(), "destroyApp");
  EXPECT_EQ(app.wait(), 0);
}

TEST(GraphicsApp, TheSdlWindowShowsTheFrames) {
  AppProcess app(kGraphicsApp, properties());
  app.start(nullptr, true);
  EXPECT_EQ(app.readLine(), "main-frame shown");
  EXPECT_EQ(app.readLine(), "thread-frame shown");
  app.send("close");
  EXPECT_EQ(app.readLine(), "destroyApp");
  EXPECT_EQ(app.wait(), 0);
}

}  // namespace
