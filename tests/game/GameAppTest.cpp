// The program itself (jme) with the game's fixture packs, run headless as
// a child process: the game starts, creates its three stores with their
// fresh bytes, and ends with 0 on SIGTERM (the stand-in's close).
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "AppProcess.h"
#include "GamePacks.h"

namespace {

std::vector<uint8_t> fileBytes(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(GameApp, StartsCreatesTheStoresAndEndsOnSigterm) {
  AppProcess app(std::string(JME_BINARY_DIR) + "/jme",
                 "MIDlet-Name: game-" + std::to_string(getpid()) + "\nMIDlet-1: Quorrin, /icon.png, main.CommonMIDlet\n");
  gametest::writeGamePacks(app.folder() / "rsc");
  app.start();
  const std::filesystem::path db = app.folder() / "database";
  const std::filesystem::path best = db / "store-2" / "record-1.bin";
  bool written = false;
  for (int i = 0; i < 1000 && !written; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    written = std::filesystem::exists(best) && std::filesystem::file_size(best) == 1000;
  }
  ASSERT_TRUE(written);
  // Give the canvas thread a few frames: a failed frame would end the run with 1.
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  ASSERT_EQ(kill(app.pid(), SIGTERM), 0);
  EXPECT_EQ(app.wait(), 0);
  std::vector<uint8_t> unlocks(110);
  unlocks[0] = 1;
  unlocks[5] = 1;
  EXPECT_EQ(fileBytes(db / "store-0" / "record-1.bin"), unlocks);
  EXPECT_EQ(fileBytes(db / "store-1" / "record-1.bin"), std::vector<uint8_t>(524));
  EXPECT_EQ(fileBytes(best), std::vector<uint8_t>(1000));
}

}  // namespace
