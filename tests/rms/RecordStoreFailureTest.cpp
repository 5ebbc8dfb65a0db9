// A change that fails leaves the store as it was: each step of an add, a
// set and a delete fails in turn (the file layer fails that one step, as a
// failing disk would, and lets the later ones succeed); the change is then
// reported as failed, the store reads exactly as before, on the open handle
// and from the files alone, and one retry makes the change once. A store
// deletion failing at any step is reported, and a retry finishes it.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "CeFiles.h"
#include "HALRecordStore.h"
#include "RmsTestSupport.h"

namespace {

using namespace rms_test;

// Everything a caller can read of a store, and the files in its folder.
struct Snapshot {
  int64_t lastModified = 0;
  std::vector<int32_t> words;  // version, nextRecordID, size, numRecords
  std::map<int32_t, std::string> records;
  std::vector<std::string> files;

  bool sameButTheClock(const Snapshot& o) const {
    return words == o.words && records == o.records && files == o.files;
  }
  bool operator==(const Snapshot& o) const { return lastModified == o.lastModified && sameButTheClock(o); }
};

std::ostream& operator<<(std::ostream& out, const Snapshot& s) {
  out << "lastModified " << s.lastModified << ", words";
  for (int32_t w : s.words) out << ' ' << w;
  out << ", records";
  for (const auto& [id, text] : s.records) out << ' ' << id << ":\"" << text << '"';
  out << ", files";
  for (const std::string& f : s.files) out << ' ' << f;
  return out;
}

Snapshot snapshot(HALRecordStore* store, const std::filesystem::path& folder) {
  Snapshot s;
  HAL_getRecordStoreLastModified(store, &s.lastModified);
  for (auto get : {HAL_getRecordStoreVersion, HAL_getNextRecordID, HAL_getRecordStoreSize, HAL_getNumRecords}) {
    int32_t value = -1;
    get(store, &value);
    s.words.push_back(value);
  }
  for (int32_t id = 1; id <= 6; ++id) {
    int32_t size = 0;
    if (HAL_getRecordSize(store, id, &size) != HAL_OK) continue;
    std::string text(static_cast<size_t>(size), '\0');
    HAL_getRecord(store, id, reinterpret_cast<uint8_t*>(text.data()), &size);
    s.records[id] = text.substr(0, static_cast<size_t>(size));
  }
  for (const CeFiles::Entry& e : CeFiles::list(folder.string())) s.files.push_back(e.name);
  return s;
}

HALRecordStore* openStore(bool create) {
  HALRecordStore* store = nullptr;
  EXPECT_EQ(HAL_openRecordStore(&store, u"fail", 4, create), HAL_OK);
  return store;
}

// A store of three records, of which the first was deleted.
HALRecordStore* fixture() {
  HALRecordStore* store = openStore(true);
  for (const std::string text : {"one", "two", "three"}) {
    int32_t id = 0;
    EXPECT_EQ(HAL_addRecord(store, &id, reinterpret_cast<const uint8_t*>(text.data()),
                            static_cast<int32_t>(text.size())),
              HAL_OK);
  }
  EXPECT_EQ(HAL_deleteRecord(store, 1), HAL_OK);
  return store;
}

struct Change {
  const char* name;
  std::function<HALStatus(HALRecordStore*)> run;
};

const uint8_t kNewBytes[] = {'n', 'e', 'w'};

const Change kChanges[] = {
    {"add",
     [](HALRecordStore* s) {
       int32_t id = 0;
       return HAL_addRecord(s, &id, kNewBytes, 3);
     }},
    {"set", [](HALRecordStore* s) { return HAL_setRecord(s, 2, kNewBytes, 3); }},
    {"delete", [](HALRecordStore* s) { return HAL_deleteRecord(s, 2); }},
};

TEST(RecordStoreFailure, AChangeFailingAtAnyStepLeavesTheStoreAsItWas) {
  for (const Change& change : kChanges) {
    SCOPED_TRACE(change.name);
    // The change once without failure: its steps and what it makes.
    int64_t steps = 0;
    Snapshot changed;
    {
      ProgramFolder folder;
      HALRecordStore* store = fixture();
      CeFiles::stopAfter(INT64_MAX);
      ASSERT_EQ(change.run(store), HAL_OK);
      steps = CeFiles::stepsTaken();
      CeFiles::resume();
      changed = snapshot(store, folder.store("fail"));
      HAL_closeRecordStore(store);
    }
    ASSERT_GE(steps, 5);
    for (int64_t k = 0; k < steps; ++k) {
      SCOPED_TRACE("failing step " + std::to_string(k + 1) + " of " + std::to_string(steps));
      ProgramFolder folder;
      HALRecordStore* store = fixture();
      const Snapshot before = snapshot(store, folder.store("fail"));
      CeFiles::failStepAfter(k);
      EXPECT_EQ(change.run(store), HAL_IO_ERR);
      EXPECT_GT(CeFiles::stepsTaken(), k);
      CeFiles::resume();
      EXPECT_EQ(snapshot(store, folder.store("fail")), before);
      HAL_closeRecordStore(store);
      store = openStore(false);
      EXPECT_EQ(snapshot(store, folder.store("fail")), before) << "read from the files alone";

      ASSERT_EQ(change.run(store), HAL_OK);
      const Snapshot retried = snapshot(store, folder.store("fail"));
      EXPECT_TRUE(retried.sameButTheClock(changed)) << retried << "\nexpected\n" << changed;
      HAL_closeRecordStore(store);
    }
  }
}

// A store deletion failing at any step is reported. While the store folder
// is left, the open handle reads as the files left do (opened alone) and
// hands out no id given before; once the folder is gone the handle changes
// nothing. Either way one retry deletes the store.
TEST(RecordStoreFailure, AStoreDeletionFailingAtAnyStepIsReportedAndRetried) {
  int64_t steps = 0;
  {
    ProgramFolder folder;
    HALRecordStore* store = fixture();
    CeFiles::stopAfter(INT64_MAX);
    ASSERT_EQ(HAL_deleteRecordStore(u"fail", 4), HAL_OK);
    steps = CeFiles::stepsTaken();
    CeFiles::resume();
    HAL_closeRecordStore(store);
  }
  EXPECT_EQ(steps, 8);  // the metadata, two records and the folder: a removal and a flush each
  for (int64_t k = 0; k < steps; ++k) {
    SCOPED_TRACE("failing step " + std::to_string(k + 1) + " of " + std::to_string(steps));
    ProgramFolder folder;
    HALRecordStore* store = fixture();
    CeFiles::failStepAfter(k);
    EXPECT_EQ(HAL_deleteRecordStore(u"fail", 4), HAL_IO_ERR);
    CeFiles::resume();
    int32_t id = 0;
    if (std::filesystem::exists(folder.store("fail"))) {
      const Snapshot left = snapshot(store, folder.store("fail"));
      HAL_closeRecordStore(store);
      store = openStore(false);
      EXPECT_EQ(snapshot(store, folder.store("fail")), left) << "read from the files alone";
      EXPECT_EQ(HAL_addRecord(store, &id, kNewBytes, 3), HAL_OK);
      EXPECT_EQ(id, 4);
    } else {
      EXPECT_EQ(HAL_addRecord(store, &id, kNewBytes, 3), HAL_IO_ERR);
    }
    EXPECT_EQ(HAL_deleteRecordStore(u"fail", 4), HAL_OK);
    EXPECT_FALSE(std::filesystem::exists(folder.store("fail")));
    EXPECT_EQ(HAL_getNumRecordStores(), 0);
    HAL_closeRecordStore(store);
  }
}

}  // namespace
