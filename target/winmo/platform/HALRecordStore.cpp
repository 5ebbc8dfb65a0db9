#include "HALRecordStore.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "CeFiles.h"
#include "CeText.h"
#include "DeviceProfile.h"
#include "HALClock.h"
#include "CeWindows.h"

namespace {

constexpr const char* kStorePrefix = "store-";
constexpr const char* kRecordPrefix = "record-";
constexpr const char* kRecordSuffix = ".bin";
constexpr const char* kMetadataName = "metadata.info";
constexpr size_t kMetadataSize = 20;
// No record can be longer than a Java array can hold.
constexpr size_t kMaxRecord = INT32_MAX;

enum Word { kLastModified, kVersion, kNextRecordID, kSize, kNumRecords, kWords };

}  // namespace

// The state of one store, shared by every handle open on it. Outside the
// anonymous namespace, as the handle type that holds it.
struct StoreState {
  std::string folder;  // no trailing '/'
  uint32_t words[kWords];
  // Set when the store was deleted while handles stayed open: they change
  // nothing any more and find no record.
  bool deleted = false;
};

struct HALRecordStore {
  std::shared_ptr<StoreState> state;
};

namespace {

// The store lock. Callers hold the global VM lock and never give it up
// while they hold this one, so it never makes anybody wait for long; it
// keeps the changing operations whole if a caller ever runs without it.
std::recursive_mutex& storeLock() {
  static std::recursive_mutex lock;
  return lock;
}

// Open stores by folder; an entry lives while a handle holds it.
std::map<std::string, std::weak_ptr<StoreState>>& openStores() {
  static std::map<std::string, std::weak_ptr<StoreState>> stores;
  return stores;
}

std::string databaseFolder() { return DeviceProfile::instance().programDirectory() + "/database"; }

// The store name as a folder name component, or nothing when it is too
// long, could leave the database folder or is not valid UTF-16.
bool encodeName(const char16_t* name, int32_t length, std::string& out) {
  if (name == nullptr || length <= 0 || length > HAL_MAX_RECORD_STORE_NAME) return false;
  const std::u16string_view text(name, static_cast<size_t>(length));
  for (const char16_t c : text) {
    if (c < 0x20 || c == 0x7f || c == u'/' || c == u'\\') return false;
  }
  out.clear();
  if (!CeText::appendUTF8(out, text, CeTextPolicy::kRefuse)) return false;
  return out != "." && out != "..";
}

std::string storeFolder(const std::string& encodedName) {
  return databaseFolder() + "/" + kStorePrefix + encodedName;
}

std::string recordPath(const std::string& folder, int32_t id) {
  return folder + "/" + kRecordPrefix + std::to_string(id) + kRecordSuffix;
}

// The id of a record file's name, or 0 when the name is not
// "record-<id>.bin" with a positive decimal id without leading zeros.
int32_t recordIdOf(const std::string& name) {
  const size_t prefix = std::strlen(kRecordPrefix);
  const size_t suffix = std::strlen(kRecordSuffix);
  if (name.size() <= prefix + suffix || name.compare(0, prefix, kRecordPrefix) != 0 ||
      name.compare(name.size() - suffix, suffix, kRecordSuffix) != 0) {
    return 0;
  }
  const std::string digits = name.substr(prefix, name.size() - prefix - suffix);
  if (digits.empty() || digits.size() > 10 || digits[0] == '0') return 0;
  int64_t id = 0;
  for (char d : digits) {
    if (d < '0' || d > '9') return 0;
    id = id * 10 + (d - '0');
  }
  return id <= INT32_MAX ? static_cast<int32_t>(id) : 0;
}

// The ids of the store's record files, ascending.
std::vector<int32_t> recordIds(const std::string& folder) {
  std::vector<int32_t> ids;
  for (const CeFiles::Entry& e : CeFiles::list(folder)) {
    const int32_t id = e.folder ? 0 : recordIdOf(e.name);
    if (id > 0) ids.push_back(id);
  }
  std::sort(ids.begin(), ids.end());
  return ids;
}

uint32_t now() { return static_cast<uint32_t>(HAL_getCurrentTimeMillis()); }

bool writeMetadata(const StoreState& s, bool flushFolder = true) {
  uint8_t bytes[kMetadataSize];
  for (int w = 0; w < kWords; ++w) {
    for (int b = 0; b < 4; ++b) bytes[w * 4 + b] = static_cast<uint8_t>(s.words[w] >> (8 * b));
  }
  return CeFiles::replaceFile(s.folder + "/" + kMetadataName, bytes, sizeof bytes, flushFolder);
}

// Reads the metadata (missing words keep their start values) and checks
// it against the record files, repairing what a cut-short change left:
// the records are the truth for their count and the ids in use.
void loadState(StoreState& s, bool* isNew, bool* repaired) {
  s.words[kLastModified] = now();
  s.words[kVersion] = 0;
  s.words[kNextRecordID] = 1;
  s.words[kSize] = 0;
  s.words[kNumRecords] = 0;
  const auto bytes = CeFiles::readFile(s.folder + "/" + kMetadataName, 4096);
  *isNew = !bytes.has_value();
  *repaired = false;
  if (bytes) {
    const size_t words = std::min(bytes->size(), kMetadataSize) / 4;
    for (size_t w = 0; w < words; ++w) {
      uint32_t v = 0;
      for (int b = 0; b < 4; ++b) v |= static_cast<uint32_t>((*bytes)[w * 4 + b]) << (8 * b);
      s.words[w] = v;
    }
  }
  const std::vector<int32_t> ids = recordIds(s.folder);
  uint32_t next = s.words[kNextRecordID];
  if (next < 1 || next > static_cast<uint32_t>(INT32_MAX)) next = 1;
  for (int32_t id : ids) {
    if (static_cast<uint32_t>(id) >= s.words[kNextRecordID]) {
      // Written by an add whose metadata never followed: count it as added.
      const auto length = CeFiles::fileSize(recordPath(s.folder, id));
      s.words[kSize] += static_cast<uint32_t>(length.value_or(0));
      s.words[kVersion] += 1;
    }
    next = std::max(next, static_cast<uint32_t>(id) + 1);
  }
  if (next != s.words[kNextRecordID] || ids.size() != s.words[kNumRecords]) {
    s.words[kNextRecordID] = next;
    s.words[kNumRecords] = static_cast<uint32_t>(ids.size());
    *repaired = true;
  }
}

// Marks a change: version + 1, the clock, and the metadata written out.
// The record file was replaced or removed just before without flushing
// the folder; one flush makes both durable. Until it, a crash may keep
// either change without the other, which opening the store repairs: the
// record files are the truth for the count and for the ids in use, and
// nextRecordID only ever grows.
bool commit(StoreState& s) {
  s.words[kVersion] += 1;
  s.words[kLastModified] = now();
  return writeMetadata(s, false) && CeFiles::flushFolder(s.folder);
}

// What a change is about to alter: the counters, and the record file's
// bytes (nothing when the change makes the file).
struct Undo {
  uint32_t words[kWords];
  std::string recordPath;
  std::optional<std::vector<uint8_t>> record;
};

Undo remember(const StoreState& s, const std::string& recordPath, std::optional<std::vector<uint8_t>> record) {
  Undo u{{}, recordPath, std::move(record)};
  std::copy(std::begin(s.words), std::end(s.words), std::begin(u.words));
  return u;
}

// Puts back what a change that could not be completed altered: the record
// file, the counters and the metadata on disk (a later step may have failed
// after the metadata was written), made durable with one flush. Should the
// disk refuse that too, the counters are read back from the files, as
// opening the store would, so that they describe what the disk holds.
void undo(StoreState& s, const Undo& u) {
  std::copy(std::begin(u.words), std::end(u.words), std::begin(s.words));
  const bool restored = u.record ? CeFiles::replaceFile(u.recordPath, u.record->data(), u.record->size(), false)
                                 : !CeFiles::isFile(u.recordPath) || CeFiles::removeFileUnflushed(u.recordPath);
  if (restored && writeMetadata(s, false) && CeFiles::flushFolder(s.folder)) return;
  bool isNew = false;
  bool repaired = false;
  loadState(s, &isNew, &repaired);
}

// Reads an open store's counters back from its files after a deletion cut
// short removed some of them, and writes them out as opening would. The
// version counts the change, and nextRecordID never goes down, so no id is
// handed out twice.
void reloadState(StoreState& s) {
  const uint32_t next = s.words[kNextRecordID];
  const uint32_t version = s.words[kVersion];
  bool isNew = false;
  bool repaired = false;
  loadState(s, &isNew, &repaired);
  if (!isNew && !repaired) return;
  s.words[kNextRecordID] = std::max(s.words[kNextRecordID], next);
  s.words[kVersion] = std::max(s.words[kVersion], version + 1);
  writeMetadata(s);  // should the disk refuse it too, opening repairs the counters
}

bool validHandle(const HALRecordStore* store) { return store != nullptr && store->state != nullptr; }

// A handle whose store still exists.
bool liveHandle(const HALRecordStore* store) { return validHandle(store) && !store->state->deleted; }

HALStatus getWord(const HALRecordStore* store, Word w, int32_t* out, HALStatus missing) {
  if (!validHandle(store) || out == nullptr) return missing;
  *out = static_cast<int32_t>(store->state->words[w]);
  return HAL_OK;
}

}  // namespace

void HAL_initRecordStores() { storeLock(); }

HALStatus HAL_openRecordStore(HALRecordStore** out, const char16_t* name, int32_t nameLength, int create) {
  if (out == nullptr) return HAL_ILLEGAL_ARGUMENT_ERR;
  *out = nullptr;
  if (name == nullptr || nameLength <= 0) return HAL_NOT_FOUND_ERR;
  std::string encoded;
  if (!encodeName(name, nameLength, encoded)) return HAL_ILLEGAL_ARGUMENT_ERR;
  std::lock_guard<std::recursive_mutex> guard(storeLock());
  if (!CeFiles::makeFolder(databaseFolder())) return HAL_NOT_FOUND_ERR;
  const std::string folder = storeFolder(encoded);
  auto& stores = openStores();
  const auto known = stores.find(folder);
  std::shared_ptr<StoreState> state = known != stores.end() ? known->second.lock() : nullptr;
  if (state == nullptr) {
    if (!CeFiles::isFolder(folder)) {
      if (!create) return HAL_NOT_FOUND_ERR;
      if (!CeFiles::makeFolder(folder)) return HAL_IO_ERR;
    }
    state = std::make_shared<StoreState>();
    state->folder = folder;
    bool isNew = false;
    bool repaired = false;
    loadState(*state, &isNew, &repaired);
    if ((isNew || repaired) && !writeMetadata(*state)) return HAL_IO_ERR;
    stores[folder] = state;
  }
  *out = new HALRecordStore{std::move(state)};
  return HAL_OK;
}

HALStatus HAL_closeRecordStore(HALRecordStore* store) {
  if (store == nullptr) return HAL_ILLEGAL_ARGUMENT_ERR;
  std::lock_guard<std::recursive_mutex> guard(storeLock());
  const std::string folder = store->state != nullptr ? store->state->folder : std::string();
  delete store;
  auto& stores = openStores();
  if (auto it = stores.find(folder); it != stores.end() && it->second.expired()) stores.erase(it);
  return HAL_OK;
}

HALStatus HAL_deleteRecordStore(const char16_t* name, int32_t nameLength) {
  std::string encoded;
  if (!encodeName(name, nameLength, encoded)) {
    // No store has an empty name or one that long.
    const bool noSuchStore = name == nullptr || nameLength <= 0 || nameLength > HAL_MAX_RECORD_STORE_NAME;
    return noSuchStore ? HAL_NOT_FOUND_ERR : HAL_ILLEGAL_ARGUMENT_ERR;
  }
  std::lock_guard<std::recursive_mutex> guard(storeLock());
  if (!CeFiles::isFolder(databaseFolder())) return HAL_NOT_FOUND_ERR;
  const std::string folder = storeFolder(encoded);
  // The metadata goes first: a store cut short in its deletion then reads
  // as its remaining records, never as records beside stale counts.
  bool removed = true;
  if (CeFiles::isFolder(folder)) {
    for (const CeFiles::Entry& e : CeFiles::list(folder)) {
      if (e.name == kMetadataName) removed = CeFiles::removeFile(folder + "/" + e.name);
    }
    for (const CeFiles::Entry& e : CeFiles::list(folder)) {
      if (removed && !e.folder) removed = CeFiles::removeFile(folder + "/" + e.name);
    }
    removed = removed && CeFiles::removeFolder(folder);
  }
  auto& stores = openStores();
  const auto it = stores.find(folder);
  const std::shared_ptr<StoreState> open = it != stores.end() ? it->second.lock() : nullptr;
  if (CeFiles::isFolder(folder)) {
    // A removal the disk refused (or a folder inside the store) stopped the
    // deletion: the store keeps what was not removed yet, and a retry
    // finishes the work. Handles open on it read their counters back from
    // the files that are left, as opening would.
    if (open != nullptr) reloadState(*open);
    return HAL_IO_ERR;
  }
  // Handles still open on it change nothing any more; a new open starts
  // afresh. A folder removed whose removal could not be flushed is gone
  // now but may come back after a crash: that is reported too.
  if (open != nullptr) open->deleted = true;
  if (it != stores.end()) stores.erase(it);
  return removed ? HAL_OK : HAL_IO_ERR;
}

namespace {

// Decodes UTF-8 into UTF-16; false when it is not valid or does not fit.
bool decodeName(const std::string& utf8, char16_t* out, int32_t capacity, int32_t* length) {
  std::u16string units;
  if (!CeText::appendUTF16(units, utf8, CeTextPolicy::kRefuse)) return false;
  if (units.size() > static_cast<size_t>(capacity)) return false;
  std::copy(units.begin(), units.end(), out);
  *length = static_cast<int32_t>(units.size());
  return true;
}

// The name of the store whose folder this is, or nothing when no store
// name makes this folder: the rest after "store-" is not UTF-8, is too long,
// or is a name that opening refuses. Such a folder (made by hand or by
// another program) is no store: it is neither counted nor listed.
std::optional<std::u16string> storeNameOf(const std::string& folderName) {
  const size_t prefix = std::strlen(kStorePrefix);
  if (folderName.compare(0, prefix, kStorePrefix) != 0) return std::nullopt;
  const std::string utf8 = folderName.substr(prefix);
  char16_t name[HAL_MAX_RECORD_STORE_NAME];
  int32_t length = 0;
  std::string again;
  if (!decodeName(utf8, name, HAL_MAX_RECORD_STORE_NAME, &length) || !encodeName(name, length, again) ||
      again != utf8) {
    return std::nullopt;
  }
  return std::u16string(name, static_cast<size_t>(length));
}

std::vector<std::u16string> storeNames() {
  std::vector<std::u16string> names;
  for (const CeFiles::Entry& e : CeFiles::list(databaseFolder())) {
    if (!e.folder) continue;
    if (std::optional<std::u16string> name = storeNameOf(e.name)) names.push_back(std::move(*name));
  }
  return names;
}

}  // namespace

int32_t HAL_getNumRecordStores() { return static_cast<int32_t>(storeNames().size()); }

HALStatus HAL_getNthRecordStoreName(int32_t n, char16_t* name, int32_t capacity, int32_t* length) {
  if (n < 1 || name == nullptr || length == nullptr || capacity < 0) return HAL_ILLEGAL_ARGUMENT_ERR;
  const std::vector<std::u16string> names = storeNames();
  if (static_cast<size_t>(n) > names.size()) return HAL_NOT_FOUND_ERR;
  const std::u16string& found = names[static_cast<size_t>(n) - 1];
  if (found.size() > static_cast<size_t>(capacity)) return HAL_NOT_FOUND_ERR;
  std::copy(found.begin(), found.end(), name);
  *length = static_cast<int32_t>(found.size());
  return HAL_OK;
}

HALStatus HAL_getRecordStoreVersion(HALRecordStore* store, int32_t* out) {
  return getWord(store, kVersion, out, HAL_NOT_FOUND_ERR);
}

HALStatus HAL_getNumRecords(HALRecordStore* store, int32_t* out) {
  return getWord(store, kNumRecords, out, HAL_NOT_FOUND_ERR);
}

HALStatus HAL_getRecordStoreSize(HALRecordStore* store, int32_t* out) {
  return getWord(store, kSize, out, HAL_NOT_FOUND_ERR);
}

HALStatus HAL_getNextRecordID(HALRecordStore* store, int32_t* out) {
  return getWord(store, kNextRecordID, out, HAL_ILLEGAL_ARGUMENT_ERR);
}

HALStatus HAL_getRecordStoreLastModified(HALRecordStore* store, int64_t* out) {
  if (!validHandle(store) || out == nullptr) return HAL_NOT_FOUND_ERR;
  *out = static_cast<int32_t>(store->state->words[kLastModified]);
  return HAL_OK;
}

HALStatus HAL_getRecordStoreSizeAvailable(HALRecordStore* /*store*/, int32_t* out) {
  if (out == nullptr) return HAL_ILLEGAL_ARGUMENT_ERR;
  ce::MEMORYSTATUS status{};
  ce::GlobalMemoryStatus(&status);
  *out = static_cast<int32_t>(std::min<uint64_t>(status.dwAvailVirtual, INT32_MAX));
  return HAL_OK;
}

HALStatus HAL_getNthRecordID(HALRecordStore* store, int32_t n, int32_t* id) {
  if (!liveHandle(store) || n < 1 || id == nullptr) return HAL_NOT_FOUND_ERR;
  const std::vector<int32_t> ids = recordIds(store->state->folder);
  if (ids.empty()) return HAL_OK;
  *id = ids[std::min(static_cast<size_t>(n), ids.size()) - 1];
  return HAL_OK;
}

HALStatus HAL_getRecordSize(HALRecordStore* store, int32_t id, int32_t* length) {
  if (!validHandle(store) || length == nullptr) return HAL_ILLEGAL_ARGUMENT_ERR;
  if (id < 1 || store->state->deleted) return HAL_NOT_FOUND_ERR;
  const auto size = CeFiles::fileSize(recordPath(store->state->folder, id));
  if (!size) return HAL_NOT_FOUND_ERR;
  if (*size > kMaxRecord) return HAL_IO_ERR;
  *length = static_cast<int32_t>(*size);
  return HAL_OK;
}

HALStatus HAL_getRecord(HALRecordStore* store, int32_t id, uint8_t* buffer, int32_t* length) {
  if (!validHandle(store) || length == nullptr || *length < 0) return HAL_ILLEGAL_ARGUMENT_ERR;
  if (id < 1 || store->state->deleted) return HAL_NOT_FOUND_ERR;
  const std::string path = recordPath(store->state->folder, id);
  if (!CeFiles::isFile(path)) return HAL_NOT_FOUND_ERR;
  const auto bytes = CeFiles::readFile(path, static_cast<size_t>(*length));
  if (!bytes) {
    return CeFiles::fileSize(path).value_or(0) > static_cast<uint64_t>(*length) ? HAL_ILLEGAL_ARGUMENT_ERR
                                                                                 : HAL_NOT_FOUND_ERR;
  }
  if (!bytes->empty()) {
    if (buffer == nullptr) return HAL_ILLEGAL_ARGUMENT_ERR;
    std::memcpy(buffer, bytes->data(), bytes->size());
  }
  *length = static_cast<int32_t>(bytes->size());
  return HAL_OK;
}

HALStatus HAL_addRecord(HALRecordStore* store, int32_t* id, const uint8_t* data, int32_t length) {
  if (!validHandle(store) || id == nullptr || length < 0 || (data == nullptr && length > 0)) {
    return HAL_ILLEGAL_ARGUMENT_ERR;
  }
  std::lock_guard<std::recursive_mutex> guard(storeLock());
  StoreState& s = *store->state;
  if (s.deleted) return HAL_IO_ERR;
  const uint32_t next = s.words[kNextRecordID];
  if (next < 1 || next >= static_cast<uint32_t>(INT32_MAX)) return HAL_IO_ERR;  // ids used up
  // The record first: once it is on disk its id can never be handed out
  // again (opening a store counts record files), and once the metadata is
  // on disk its next id covers it; whichever of the two a kill keeps, no
  // acknowledged record is lost and no id repeats. A failure takes the
  // record out again, so the add has not happened and a retry adds once.
  const std::string path = recordPath(s.folder, static_cast<int32_t>(next));
  const Undo before = remember(s, path, std::nullopt);
  if (!CeFiles::replaceFile(path, data, static_cast<size_t>(length), false)) return HAL_IO_ERR;
  s.words[kNextRecordID] = next + 1;
  s.words[kNumRecords] += 1;
  s.words[kSize] += static_cast<uint32_t>(length);
  if (!commit(s)) {
    undo(s, before);
    return HAL_IO_ERR;
  }
  *id = static_cast<int32_t>(next);
  return HAL_OK;
}

HALStatus HAL_setRecord(HALRecordStore* store, int32_t id, const uint8_t* data, int32_t length) {
  if (!validHandle(store) || length < 0 || (data == nullptr && length > 0)) return HAL_ILLEGAL_ARGUMENT_ERR;
  std::lock_guard<std::recursive_mutex> guard(storeLock());
  StoreState& s = *store->state;
  if (s.deleted) return HAL_IO_ERR;
  const std::string path = recordPath(s.folder, id);
  if (id < 1 || !CeFiles::isFile(path)) return HAL_NOT_FOUND_ERR;
  // The old bytes are kept to put back should the change fail.
  std::optional<std::vector<uint8_t>> old = CeFiles::readFile(path, kMaxRecord);
  if (!old) return HAL_IO_ERR;
  const Undo before = remember(s, path, std::move(old));
  if (!CeFiles::replaceFile(path, data, static_cast<size_t>(length), false)) return HAL_IO_ERR;
  if (!commit(s)) {
    undo(s, before);
    return HAL_IO_ERR;
  }
  return HAL_OK;
}

HALStatus HAL_deleteRecord(HALRecordStore* store, int32_t id) {
  if (!validHandle(store)) return HAL_ILLEGAL_ARGUMENT_ERR;
  std::lock_guard<std::recursive_mutex> guard(storeLock());
  StoreState& s = *store->state;
  if (s.deleted) return HAL_IO_ERR;
  const std::string path = recordPath(s.folder, id);
  if (id < 1 || !CeFiles::isFile(path)) return HAL_NOT_FOUND_ERR;
  // The bytes are kept to put the record back should the delete fail.
  std::optional<std::vector<uint8_t>> old = CeFiles::readFile(path, kMaxRecord);
  if (!old) return HAL_NOT_FOUND_ERR;
  const Undo before = remember(s, path, std::move(old));
  if (!CeFiles::removeFileUnflushed(path)) return HAL_IO_ERR;
  if (s.words[kNumRecords] > 0) s.words[kNumRecords] -= 1;
  if (!commit(s)) {
    undo(s, before);
    return HAL_IO_ERR;
  }
  return HAL_OK;
}
