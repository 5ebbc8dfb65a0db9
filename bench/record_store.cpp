// Durable record writes, side by side with SQLite committing the same
// 1 KiB row durably on the same disk (synchronous=FULL), with its
// write-ahead log and with its rollback journal.
//
//   AddRecord / SetRecord:     HAL_addRecord / HAL_setRecord of 1 KiB (the
//                              record file replaced atomically: write, flush,
//                              rename, flush the folder; then the metadata
//                              the same way).
//   SqliteInsert* / SqliteUpdate*: one INSERT / UPDATE of a 1 KiB blob in its
//                              own transaction.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "DeviceProfile.h"
#include "HALRecordStore.h"

#ifdef JME_HAVE_SQLITE3
#include <sqlite3.h>
#endif

namespace {

const std::vector<uint8_t> kRecord(1024, 0x5a);
// Updates alternate between two contents: SQLite skips writing a row that
// did not change.
const std::vector<uint8_t> kOtherRecord(1024, 0xa5);

// A folder of its own beside the other temporary files of this machine.
class Folder {
 public:
  explicit Folder(const char* name)
      : path_(std::filesystem::temp_directory_path() / (std::string(name) + "-" + std::to_string(getpid()))) {
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~Folder() { std::filesystem::remove_all(path_); }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

HALRecordStore* openStore(const Folder& folder) {
  DeviceProfile::instance().setProgramDirectory(folder.path().string());
  HALRecordStore* store = nullptr;
  HAL_openRecordStore(&store, u"bench", 5, 1);
  return store;
}

void AddRecord(benchmark::State& state) {
  Folder folder("jme-bench-rms");
  HALRecordStore* store = openStore(folder);
  for (auto _ : state) {
    int32_t id = 0;
    if (HAL_addRecord(store, &id, kRecord.data(), static_cast<int32_t>(kRecord.size())) != HAL_OK) {
      state.SkipWithError("add failed");
      break;
    }
  }
  HAL_closeRecordStore(store);
}
BENCHMARK(AddRecord)->Unit(benchmark::kMicrosecond)->UseRealTime();

void SetRecord(benchmark::State& state) {
  Folder folder("jme-bench-rms");
  HALRecordStore* store = openStore(folder);
  int32_t id = 0;
  HAL_addRecord(store, &id, kRecord.data(), static_cast<int32_t>(kRecord.size()));
  bool other = false;
  for (auto _ : state) {
    const std::vector<uint8_t>& record = (other = !other) ? kOtherRecord : kRecord;
    if (HAL_setRecord(store, id, record.data(), static_cast<int32_t>(record.size())) != HAL_OK) {
      state.SkipWithError("set failed");
      break;
    }
  }
  HAL_closeRecordStore(store);
}
BENCHMARK(SetRecord)->Unit(benchmark::kMicrosecond)->UseRealTime();

#ifdef JME_HAVE_SQLITE3
// journal: "WAL" or "DELETE" (the rollback journal).
void sqlite(benchmark::State& state, const char* journal, bool update) {
  Folder folder("jme-bench-sqlite");
  sqlite3* db = nullptr;
  sqlite3_open((folder.path() / "store.db").c_str(), &db);
  sqlite3_exec(db, (std::string("PRAGMA journal_mode=") + journal).c_str(), nullptr, nullptr, nullptr);
  sqlite3_exec(db, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
  sqlite3_exec(db, "CREATE TABLE records(id INTEGER PRIMARY KEY, data BLOB)", nullptr, nullptr, nullptr);
  sqlite3_stmt* insert = nullptr;
  sqlite3_prepare_v2(db, "INSERT INTO records(data) VALUES(?)", -1, &insert, nullptr);
  sqlite3_stmt* change = nullptr;
  sqlite3_prepare_v2(db, "UPDATE records SET data = ? WHERE id = 1", -1, &change, nullptr);
  sqlite3_bind_blob(insert, 1, kRecord.data(), static_cast<int>(kRecord.size()), SQLITE_STATIC);
  sqlite3_step(insert);
  sqlite3_reset(insert);
  bool other = false;
  for (auto _ : state) {
    const std::vector<uint8_t>& record = (other = !other) ? kOtherRecord : kRecord;
    sqlite3_bind_blob(change, 1, record.data(), static_cast<int>(record.size()), SQLITE_STATIC);
    sqlite3_stmt* statement = update ? change : insert;
    if (sqlite3_step(statement) != SQLITE_DONE) {
      state.SkipWithError("sqlite failed");
      break;
    }
    sqlite3_reset(statement);
  }
  sqlite3_finalize(insert);
  sqlite3_finalize(change);
  sqlite3_close(db);
}

void SqliteInsertWal(benchmark::State& state) { sqlite(state, "WAL", false); }
void SqliteInsertRollback(benchmark::State& state) { sqlite(state, "DELETE", false); }
void SqliteUpdateWal(benchmark::State& state) { sqlite(state, "WAL", true); }
void SqliteUpdateRollback(benchmark::State& state) { sqlite(state, "DELETE", true); }
BENCHMARK(SqliteInsertWal)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(SqliteInsertRollback)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(SqliteUpdateWal)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(SqliteUpdateRollback)->Unit(benchmark::kMicrosecond)->UseRealTime();
#endif

}  // namespace
