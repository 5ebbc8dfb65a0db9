// Fuzz target: a record store whose files hold arbitrary bytes. The input
// is split into the metadata file and a few record files (names chosen by
// the input too); opening the store, reading every record, adding one and
// reopening must give a consistent store (the record count is the number
// of records that read back, the next id lies beyond all of them) or a
// clear status, never a crash or a read out of bounds. The input's first
// bytes also name a folder "store-..." beside it: every store the listing
// counts must have a name that fits a store name and opens.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "DeviceProfile.h"
#include "HALRecordStore.h"

namespace {

std::filesystem::path programFolder() {
  static const std::filesystem::path root =
      std::filesystem::temp_directory_path() / ("jme-fuzz-rms-" + std::to_string(getpid()));
  return root;
}

void writeFile(const std::filesystem::path& path, const uint8_t* data, size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

void check(bool ok) {
  if (!ok) abort();
}

// Reads every id from 1 to the next id; the count of those that read back
// must be the store's record count.
void checkConsistent(HALRecordStore* store) {
  int32_t next = 0;
  int32_t count = 0;
  check(HAL_getNextRecordID(store, &next) == HAL_OK && next >= 1);
  check(HAL_getNumRecords(store, &count) == HAL_OK);
  int32_t found = 0;
  for (int32_t id = 1; id < next && id < 300; ++id) {
    int32_t size = 0;
    if (HAL_getRecordSize(store, id, &size) != HAL_OK) continue;
    std::string bytes(static_cast<size_t>(size), '\0');
    int32_t length = size;
    check(HAL_getRecord(store, id, reinterpret_cast<uint8_t*>(bytes.data()), &length) == HAL_OK);
    check(length == size);
    ++found;
  }
  if (next < 300) check(found == count);
}

// A folder "store-" followed by up to 40 of the input's first bytes ('/'
// and NUL, which no folder name holds, become '_').
void makeStrayFolder(const std::filesystem::path& database, const uint8_t* data, size_t size) {
  std::string name = "store-";
  for (size_t i = 0; i < std::min<size_t>(size, 40); ++i) {
    const char c = static_cast<char>(data[i]);
    name += c == '/' || c == '\0' ? '_' : c;
  }
  std::error_code ignored;
  std::filesystem::create_directory(database / name, ignored);
}

void checkListing() {
  const int32_t count = HAL_getNumRecordStores();
  check(count >= 1 && count <= 2);
  for (int32_t n = 1; n <= count; ++n) {
    char16_t name[HAL_MAX_RECORD_STORE_NAME];
    int32_t length = 0;
    check(HAL_getNthRecordStoreName(n, name, HAL_MAX_RECORD_STORE_NAME, &length) == HAL_OK);
    check(length >= 1 && length <= HAL_MAX_RECORD_STORE_NAME);
    HALRecordStore* handle = nullptr;
    check(HAL_openRecordStore(&handle, name, length, 0) == HAL_OK);
    HAL_closeRecordStore(handle);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::filesystem::path root = programFolder();
  std::filesystem::remove_all(root);
  const std::filesystem::path store = root / "database" / "store-fuzz";
  std::filesystem::create_directories(store);
  DeviceProfile::instance().setProgramDirectory(root.string());

  // [metadata length][metadata] then records: [id byte][length byte][bytes].
  size_t at = 0;
  if (at < size) {
    const size_t n = std::min<size_t>(data[at], size - at - 1);
    ++at;
    writeFile(store / "metadata.info", data + at, n);
    at += n;
  }
  while (at + 2 <= size) {
    const int id = data[at] % 64;  // 0 makes a name that is not a record
    const size_t n = std::min<size_t>(data[at + 1], size - at - 2);
    at += 2;
    writeFile(store / ("record-" + std::to_string(id) + ".bin"), data + at, n);
    at += n;
  }

  HALRecordStore* handle = nullptr;
  if (HAL_openRecordStore(&handle, u"fuzz", 4, 0) == HAL_OK) {
    checkConsistent(handle);
    int32_t id = 0;
    int32_t nextBefore = 0;
    HAL_getNextRecordID(handle, &nextBefore);
    const uint8_t byte = 7;
    if (HAL_addRecord(handle, &id, &byte, 1) == HAL_OK) check(id == nextBefore);
    HAL_closeRecordStore(handle);
    check(HAL_openRecordStore(&handle, u"fuzz", 4, 0) == HAL_OK);
    checkConsistent(handle);
    HAL_closeRecordStore(handle);
  }
  makeStrayFolder(root / "database", data, size);
  checkListing();
  std::filesystem::remove_all(root);
  return 0;
}
