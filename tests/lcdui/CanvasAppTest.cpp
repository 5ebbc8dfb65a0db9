// The real program binary with a game canvas MIDlet (jme_canvas_app), run
// as a child process headless and in the SDL2 window under SDL's dummy
// driver: the stylus moves the marker the canvas thread draws, and the
// presented frames hold exactly the expected picture.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "AppProcess.h"

namespace {

const std::string kCanvasApp = std::string(JME_BINARY_DIR) + "/jme_canvas_app";

uint16_t rgb565(uint32_t rgb) {
  return static_cast<uint16_t>(((rgb >> 8) & 0xF800) | ((rgb >> 5) & 0x07E0) | ((rgb >> 3) & 0x001F));
}

// The canvas's picture, pixel by pixel, as the MIDlet draws it.
uint16_t expectedPixel(int32_t x, int32_t y, int32_t w, int32_t h, int32_t markerX, int32_t markerY) {
  if (x >= markerX - 2 && x <= markerX + 2 && y >= markerY - 2 && y <= markerY + 2) return rgb565(0xFFFFFF);
  if (x < w / 2 && y < h / 2) return rgb565(0xFF0000);
  if (x >= w / 2 && y >= h / 2) return rgb565(0x0000FF);
  return rgb565(0x203040);
}

class CanvasRun {
 public:
  explicit CanvasRun(bool sdl)
      : app_(kCanvasApp, "MIDlet-Name: canvas-" + std::to_string(getpid()) +
                             "\nMIDlet-1: Canvas, /icon.png, canvasapp.CanvasMIDlet\n") {
    app_.start(nullptr, sdl);
    std::istringstream line(app_.readLine());
    std::string word;
    line >> word >> width_ >> height_;
    started_ = word == "startApp" && width_ > 0 && height_ > 0;
  }
  bool started() const { return started_; }
  int32_t width() const { return width_; }
  int32_t height() const { return height_; }
  AppProcess& app() { return app_; }

  // Sends a stylus command and waits for the canvas to see it and draw it.
  void stylus(const std::string& kind, const char* seen, int32_t x, int32_t y) {
    const std::string at = std::to_string(x) + " " + std::to_string(y);
    app_.send(kind + " " + at);
    EXPECT_EQ(app_.readLine(), std::string("pointer ") + seen + " " + at);
  }
  void expectDrawn(int32_t x, int32_t y) {
    EXPECT_EQ(app_.readLine(), "drawn " + std::to_string(x) + " " + std::to_string(y));
  }

  // Asks for the next frame and compares the window's part of it with the
  // picture; returns the number of differing pixels.
  int64_t differencesFromPicture(int32_t markerX, int32_t markerY) {
    const std::string path =
        (std::filesystem::temp_directory_path() / ("canvas-frame-" + std::to_string(getpid()))).string();
    app_.send("frame " + path);
    std::istringstream line(app_.readLine());
    std::string word;
    int32_t fw = 0, fh = 0, left = 0, top = 0;
    line >> word >> fw >> fh >> left >> top;
    EXPECT_EQ(word, "frame");
    std::ifstream in(path, std::ios::binary);
    std::vector<uint16_t> pixels(static_cast<size_t>(fw) * fh);
    in.read(reinterpret_cast<char*>(pixels.data()), static_cast<std::streamsize>(pixels.size() * 2));
    std::filesystem::remove(path);
    if (!in || fw < left + width_ || fh < top + height_) {
      ADD_FAILURE() << "frame " << fw << "x" << fh << " cannot hold the canvas at " << left << "," << top;
      return -1;
    }
    int64_t differences = 0;
    for (int32_t y = 0; y < height_; ++y) {
      for (int32_t x = 0; x < width_; ++x) {
        const uint16_t got = pixels[static_cast<size_t>(top + y) * fw + left + x];
        if (got != expectedPixel(x, y, width_, height_, markerX, markerY)) {
          if (differences++ == 0) ADD_FAILURE() << "first difference at " << x << "," << y << ": " << got;
        }
      }
    }
    return differences;
  }

 private:
  AppProcess app_;
  int32_t width_ = 0;
  int32_t height_ = 0;
  bool started_ = false;
};

void tapsAndDragsMoveTheMarker(bool sdl) {
  CanvasRun run(sdl);
  ASSERT_TRUE(run.started());
  EXPECT_EQ(run.differencesFromPicture(-100, -100), 0);  // no marker yet
  run.stylus("down", "press", 30, 40);
  run.expectDrawn(30, 40);
  EXPECT_EQ(run.differencesFromPicture(30, 40), 0);
  run.stylus("drag", "drag", 60, 90);
  run.expectDrawn(60, 90);
  run.stylus("drag", "drag", 200, 250);
  run.expectDrawn(200, 250);
  EXPECT_EQ(run.differencesFromPicture(200, 250), 0);
  run.stylus("up", "release", 201, 251);
  run.expectDrawn(201, 251);
  EXPECT_EQ(run.differencesFromPicture(201, 251), 0);
  run.app().send("close");
  EXPECT_EQ(run.app().readLine(), "destroyApp");
  EXPECT_EQ(run.app().wait(), 0);
}

// The canvas thread switches full-screen mode on and off: the window's size
// changes on the main thread, so the canvas hears of each change there.
TEST(CanvasApp, FullScreenFromTheCanvasThreadChangesTheSizeOnTheMainThread) {
  CanvasRun run(false);
  ASSERT_TRUE(run.started());
  const int32_t screenWidth = 240, screenHeight = 320;  // the device profile's default screen
  run.app().send("fullscreen on");
  EXPECT_EQ(run.app().readLine(), "sizeChanged " + std::to_string(screenWidth) + " " +
                                      std::to_string(screenHeight) + " main");
  run.app().send("fullscreen off");
  EXPECT_EQ(run.app().readLine(),
            "sizeChanged " + std::to_string(run.width()) + " " + std::to_string(run.height()) + " main");
  run.app().send("close");
  EXPECT_EQ(run.app().readLine(), "destroyApp");
  EXPECT_EQ(run.app().wait(), 0);
}

TEST(CanvasApp, TapsAndDragsMoveTheMarkerHeadless) { tapsAndDragsMoveTheMarker(false); }

TEST(CanvasApp, TapsAndDragsMoveTheMarkerInTheSDLWindow) { tapsAndDragsMoveTheMarker(true); }

}  // namespace
