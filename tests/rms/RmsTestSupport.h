#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// A program folder of its own for one test (removed afterwards), and small
// helpers over the platform's record-store functions.
namespace rms_test {

class ProgramFolder {
 public:
  ProgramFolder();
  ~ProgramFolder();
  ProgramFolder(const ProgramFolder&) = delete;
  ProgramFolder& operator=(const ProgramFolder&) = delete;

  std::filesystem::path root() const { return root_; }
  std::filesystem::path database() const { return root_ / "database"; }
  std::filesystem::path store(const std::string& name) const { return database() / ("store-" + name); }

 private:
  std::filesystem::path root_;
};

std::vector<uint8_t> bytes(const std::string& text);
// The file's bytes (empty when it cannot be read).
std::vector<uint8_t> fileBytes(const std::filesystem::path& path);
// The five metadata words of a store folder.
std::vector<uint32_t> metadataWords(const std::filesystem::path& storeFolder);

}  // namespace rms_test
