#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "PackFixtures.h"

// Helpers over the platform's record-store functions, and the program
// folder of one test (the shared fixture's).
namespace rms_test {

using ProgramFolder = pack_fixtures::ProgramFolder;

std::vector<uint8_t> bytes(const std::string& text);
// The file's bytes (empty when it cannot be read).
std::vector<uint8_t> fileBytes(const std::filesystem::path& path);
// The five metadata words of a store folder.
std::vector<uint32_t> metadataWords(const std::filesystem::path& storeFolder);

}  // namespace rms_test
