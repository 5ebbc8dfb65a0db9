// The stand-in's file layer: a replaced file is old or new whatever step
// fails, and its two test modes (the process dies at a step; one step fails
// and the process goes on).
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "CeFiles.h"
#include "RmsTestSupport.h"

namespace {

using namespace rms_test;

std::vector<std::string> names(const std::filesystem::path& folder) {
  std::vector<std::string> out;
  for (const CeFiles::Entry& e : CeFiles::list(folder.string())) out.push_back(e.name);
  return out;
}

// A folder of the test's own: the program folder holds others.
std::filesystem::path filesFolder(const ProgramFolder& folder) {
  const std::filesystem::path files = folder.root() / "files";
  std::filesystem::create_directories(files);
  return files;
}

bool replace(const std::filesystem::path& path, const std::string& text) {
  return CeFiles::replaceFile(path.string(), text.data(), text.size());
}

TEST(CeFiles, OneFailingStepLeavesTheOldFileAndTheNextStepsSucceed) {
  ProgramFolder program;
  const std::filesystem::path folder = filesFolder(program);
  const std::filesystem::path file = folder / "data.bin";
  ASSERT_TRUE(replace(file, "old bytes"));
  CeFiles::stopAfter(INT64_MAX);
  ASSERT_TRUE(replace(file, "old bytes"));
  const int64_t steps = CeFiles::stepsTaken();
  EXPECT_EQ(steps, 4);  // write, flush, rename, flush of the folder
  for (int64_t k = 0; k < steps; ++k) {
    SCOPED_TRACE("failing step " + std::to_string(k + 1));
    CeFiles::failStepAfter(k);
    EXPECT_FALSE(replace(file, "new bytes, longer"));
    EXPECT_EQ(CeFiles::stepsTaken(), k + 1);
    // Only the last step (the folder's flush) comes after the rename.
    EXPECT_EQ(fileBytes(file), bytes(k + 1 < steps ? "old bytes" : "new bytes, longer"));
    EXPECT_EQ(names(folder), std::vector<std::string>{"data.bin"});  // no temporary file left
    EXPECT_TRUE(replace(file, "old bytes"));
  }
  CeFiles::resume();
}

TEST(CeFiles, AStoppedLayerFailsEveryLaterStepAndCleansNothingUp) {
  ProgramFolder program;
  const std::filesystem::path folder = filesFolder(program);
  const std::filesystem::path file = folder / "data.bin";
  ASSERT_TRUE(replace(file, "old bytes"));
  CeFiles::stopAfter(0);
  EXPECT_FALSE(replace(file, "new bytes"));
  EXPECT_FALSE(CeFiles::removeFile(file.string()));
  CeFiles::resume();
  EXPECT_EQ(fileBytes(file), bytes("old bytes"));
  // The write died half way: its temporary file stays, as a killed process
  // would leave it, under a name no listing of stored names takes.
  const std::vector<std::string> left = names(folder);
  ASSERT_EQ(left.size(), 2u);
  EXPECT_TRUE(CeFiles::isTemporaryName(left[0]));
  EXPECT_EQ(fileBytes(folder / left[0]).size(), 4u);
  EXPECT_TRUE(replace(file, "new bytes"));
}

}  // namespace
