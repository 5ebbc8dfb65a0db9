// The record-store files: layout, metadata, listing, names that must stay
// inside the database folder, shared handles and the repair on open.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>

#include "HALRecordStore.h"
#include "RmsTestSupport.h"

namespace {

using namespace rms_test;

HALRecordStore* open(const std::u16string& name, bool create = true, HALStatus expected = HAL_OK) {
  HALRecordStore* store = nullptr;
  EXPECT_EQ(HAL_openRecordStore(&store, name.data(), static_cast<int32_t>(name.size()), create), expected);
  return store;
}

int32_t add(HALRecordStore* store, const std::string& text) {
  int32_t id = -1;
  const std::vector<uint8_t> data = bytes(text);
  EXPECT_EQ(HAL_addRecord(store, &id, data.empty() ? nullptr : data.data(), static_cast<int32_t>(data.size())),
            HAL_OK);
  return id;
}

std::string read(HALRecordStore* store, int32_t id) {
  int32_t size = -1;
  if (HAL_getRecordSize(store, id, &size) != HAL_OK) return "<missing>";
  std::string out(static_cast<size_t>(size), '\0');
  int32_t length = size;
  EXPECT_EQ(HAL_getRecord(store, id, reinterpret_cast<uint8_t*>(out.data()), &length), HAL_OK);
  EXPECT_EQ(length, size);
  return out;
}

int32_t word(HALStatus (*get)(HALRecordStore*, int32_t*), HALRecordStore* store) {
  int32_t value = -1;
  EXPECT_EQ(get(store, &value), HAL_OK);
  return value;
}

TEST(RecordStoreFiles, NewStoreHasItsFolderAndStartMetadata) {
  ProgramFolder folder;
  HAL_initRecordStores();
  HALRecordStore* store = open(u"a");
  ASSERT_NE(store, nullptr);
  EXPECT_TRUE(std::filesystem::is_directory(folder.store("a")));
  EXPECT_EQ(std::filesystem::file_size(folder.store("a") / "metadata.info"), 20u);
  const std::vector<uint32_t> words = metadataWords(folder.store("a"));
  ASSERT_EQ(words.size(), 5u);
  EXPECT_EQ(std::vector<uint32_t>(words.begin() + 1, words.end()), (std::vector<uint32_t>{0, 1, 0, 0}));
  int64_t lastModified = 0;
  EXPECT_EQ(HAL_getRecordStoreLastModified(store, &lastModified), HAL_OK);
  EXPECT_EQ(lastModified, static_cast<int32_t>(words[0]));
  HAL_closeRecordStore(store);
}

TEST(RecordStoreFiles, AddsDeletesAndCountersFollowTheFiles) {
  ProgramFolder folder;
  HALRecordStore* store = open(u"game");
  EXPECT_EQ(add(store, "hello"), 1);
  EXPECT_EQ(add(store, ""), 2);
  EXPECT_EQ(add(store, "1234567"), 3);
  EXPECT_EQ(fileBytes(folder.store("game") / "record-1.bin"), bytes("hello"));
  EXPECT_TRUE(std::filesystem::exists(folder.store("game") / "record-2.bin"));
  EXPECT_EQ(std::filesystem::file_size(folder.store("game") / "record-2.bin"), 0u);
  EXPECT_EQ(word(HAL_getNextRecordID, store), 4);
  EXPECT_EQ(word(HAL_getRecordStoreSize, store), 12);
  EXPECT_EQ(word(HAL_getNumRecords, store), 3);
  EXPECT_EQ(word(HAL_getRecordStoreVersion, store), 3);

  EXPECT_EQ(HAL_deleteRecord(store, 2), HAL_OK);
  EXPECT_EQ(word(HAL_getRecordStoreSize, store), 12);
  EXPECT_EQ(word(HAL_getNumRecords, store), 2);
  EXPECT_EQ(word(HAL_getRecordStoreVersion, store), 4);
  EXPECT_EQ(add(store, "x"), 4);  // ids are never reused
  EXPECT_EQ(HAL_deleteRecord(store, 2), HAL_NOT_FOUND_ERR);

  const std::vector<uint8_t> data = bytes("changed");
  EXPECT_EQ(HAL_setRecord(store, 1, data.data(), 7), HAL_OK);
  EXPECT_EQ(read(store, 1), "changed");
  EXPECT_EQ(word(HAL_getNumRecords, store), 3);
  // Setting a record that does not exist would make an uncounted record.
  EXPECT_EQ(HAL_setRecord(store, 9, data.data(), 7), HAL_NOT_FOUND_ERR);
  EXPECT_FALSE(std::filesystem::exists(folder.store("game") / "record-9.bin"));

  int32_t id = 0;
  EXPECT_EQ(HAL_getNthRecordID(store, 2, &id), HAL_OK);
  EXPECT_EQ(id, 3);
  EXPECT_EQ(HAL_getNthRecordID(store, 99, &id), HAL_OK);
  EXPECT_EQ(id, 4);  // beyond the end: the last id
  // A record longer than the buffer copies nothing.
  char small[3] = {'-', '-', '-'};
  int32_t length = 3;
  EXPECT_EQ(HAL_getRecord(store, 1, reinterpret_cast<uint8_t*>(small), &length), HAL_ILLEGAL_ARGUMENT_ERR);
  EXPECT_EQ(std::string(small, 3), "---");
  HAL_closeRecordStore(store);

  // Everything reads back from the files alone.
  store = open(u"game", false);
  EXPECT_EQ(read(store, 1), "changed");
  EXPECT_EQ(read(store, 2), "<missing>");
  EXPECT_EQ(read(store, 4), "x");
  EXPECT_EQ(word(HAL_getNextRecordID, store), 5);
  HAL_closeRecordStore(store);
}

TEST(RecordStoreFiles, OpeningListingAndDeletingStores) {
  ProgramFolder folder;
  EXPECT_EQ(HAL_getNumRecordStores(), 0);
  EXPECT_EQ(HAL_deleteRecordStore(u"x", 1), HAL_NOT_FOUND_ERR);  // no database folder yet
  open(u"missing", false, HAL_NOT_FOUND_ERR);
  EXPECT_TRUE(std::filesystem::is_directory(folder.database()));
  EXPECT_FALSE(std::filesystem::exists(folder.store("missing")));
  EXPECT_EQ(HAL_deleteRecordStore(u"missing", 7), HAL_OK);

  HAL_closeRecordStore(open(u"b"));
  HAL_closeRecordStore(open(u"a\u00e9\U0001F600"));
  // Strays in the database folder are not stores and break nothing.
  std::ofstream(folder.database() / "store-file") << "plain file";
  std::filesystem::create_directories(folder.database() / "other");
  EXPECT_EQ(HAL_getNumRecordStores(), 2);
  char16_t name[32];
  int32_t length = 0;
  ASSERT_EQ(HAL_getNthRecordStoreName(1, name, 32, &length), HAL_OK);
  EXPECT_EQ(std::u16string(name, static_cast<size_t>(length)), u"a\u00e9\U0001F600");
  ASSERT_EQ(HAL_getNthRecordStoreName(2, name, 32, &length), HAL_OK);
  EXPECT_EQ(std::u16string(name, static_cast<size_t>(length)), u"b");
  EXPECT_EQ(HAL_getNthRecordStoreName(3, name, 32, &length), HAL_NOT_FOUND_ERR);
  EXPECT_EQ(HAL_getNthRecordStoreName(0, name, 32, &length), HAL_ILLEGAL_ARGUMENT_ERR);
  EXPECT_EQ(HAL_getNthRecordStoreName(1, name, 2, &length), HAL_NOT_FOUND_ERR);  // does not fit

  HALRecordStore* store = open(u"b");
  add(store, "kept?");
  EXPECT_EQ(HAL_deleteRecordStore(u"b", 1), HAL_OK);
  EXPECT_FALSE(std::filesystem::exists(folder.store("b")));
  // A handle left open on a deleted store changes nothing any more.
  int32_t id = 0;
  EXPECT_EQ(HAL_addRecord(store, &id, nullptr, 0), HAL_IO_ERR);
  HALRecordStore* fresh = open(u"b");
  EXPECT_EQ(word(HAL_getNumRecords, fresh), 0);
  EXPECT_EQ(add(fresh, "new"), 1);
  HAL_closeRecordStore(fresh);
  HAL_closeRecordStore(store);
}

// A folder inside a store (made by hand) cannot be removed with it: the
// deletion removes the files, keeps the store and says it failed.
TEST(RecordStoreFiles, AFolderInsideAStoreKeepsItAndFailsItsDeletion) {
  ProgramFolder folder;
  HALRecordStore* store = open(u"s");
  add(store, "one");
  add(store, "two");
  std::filesystem::create_directory(folder.store("s") / "inner");
  EXPECT_EQ(HAL_deleteRecordStore(u"s", 1), HAL_IO_ERR);
  EXPECT_EQ(HAL_getNumRecordStores(), 1);
  EXPECT_EQ(word(HAL_getNumRecords, store), 0);
  EXPECT_EQ(read(store, 1), "<missing>");
  EXPECT_EQ(add(store, "three"), 3);  // no id is handed out twice
  std::filesystem::remove(folder.store("s") / "inner");
  EXPECT_EQ(HAL_deleteRecordStore(u"s", 1), HAL_OK);
  EXPECT_FALSE(std::filesystem::exists(folder.store("s")));
  HAL_closeRecordStore(store);
}

TEST(RecordStoreFiles, FoldersNoStoreNameMakesAreLeftOutOfTheListing) {
  ProgramFolder folder;
  std::u16string faces32;  // 16 code points, 32 units
  for (int i = 0; i < 16; ++i) faces32 += u"\U0001F600";
  for (const std::u16string& name : {std::u16string(u"a"), std::u16string(32, u'm'), faces32}) {
    HAL_closeRecordStore(open(name));
  }
  const std::string faces17 = [] {
    std::string s;
    for (int i = 0; i < 17; ++i) s += "\xf0\x9f\x98\x80";
    return s;
  }();
  // Folders made by hand that no store name could have made.
  const std::string strays[] = {
      std::string(33, 'x'),  // longer than a store name
      faces17,               // 34 units
      "\xff\xfe",            // not UTF-8
      "b\xc3",               // cut short
      "\xc0\xaf",            // '/' in a too-long encoding
      "\xed\xa0\x80",        // a lone surrogate
      "tab\t",               // a control character
      "..",                  // would be the parent folder
      "c\\d",                // a backslash
  };
  for (const std::string& stray : strays) {
    ASSERT_TRUE(std::filesystem::create_directory(folder.database() / ("store-" + stray))) << stray;
  }
  ASSERT_EQ(HAL_getNumRecordStores(), 3);
  std::vector<std::u16string> listed;
  for (int32_t n = 1; n <= 3; ++n) {
    char16_t name[HAL_MAX_RECORD_STORE_NAME];
    int32_t length = 0;
    ASSERT_EQ(HAL_getNthRecordStoreName(n, name, HAL_MAX_RECORD_STORE_NAME, &length), HAL_OK) << n;
    listed.emplace_back(name, static_cast<size_t>(length));
  }
  EXPECT_EQ(listed, (std::vector<std::u16string>{u"a", std::u16string(32, u'm'), faces32}));
  char16_t name[HAL_MAX_RECORD_STORE_NAME];
  int32_t length = 0;
  EXPECT_EQ(HAL_getNthRecordStoreName(4, name, HAL_MAX_RECORD_STORE_NAME, &length), HAL_NOT_FOUND_ERR);
}

TEST(RecordStoreFiles, NamesThatWouldLeaveTheDatabaseAreRefused) {
  ProgramFolder folder;
  const std::u16string names[] = {u"..", u".", u"../up", u"a/b", u"a\\b", u"tab\there", u"\x7f",
                                  std::u16string(1, char16_t(0xd800)), std::u16string(1, char16_t(0xdc00)),
                                  std::u16string(u"nul\0x", 5)};
  for (const std::u16string& name : names) {
    HALRecordStore* store = nullptr;
    EXPECT_EQ(HAL_openRecordStore(&store, name.data(), static_cast<int32_t>(name.size()), 1),
              HAL_ILLEGAL_ARGUMENT_ERR)
        << names - &name;
    EXPECT_EQ(store, nullptr);
    EXPECT_EQ(HAL_deleteRecordStore(name.data(), static_cast<int32_t>(name.size())), HAL_ILLEGAL_ARGUMENT_ERR);
  }
  // No store name is longer than 32 characters: none is made, and deleting
  // one finds nothing.
  const std::u16string tooLong(33, u'n');
  HALRecordStore* longStore = nullptr;
  EXPECT_EQ(HAL_openRecordStore(&longStore, tooLong.data(), 33, 1), HAL_ILLEGAL_ARGUMENT_ERR);
  EXPECT_EQ(longStore, nullptr);
  EXPECT_EQ(HAL_deleteRecordStore(tooLong.data(), 33), HAL_NOT_FOUND_ERR);
  HAL_closeRecordStore(open(tooLong.substr(1)));
  EXPECT_EQ(HAL_openRecordStore(nullptr, u"a", 1, 1), HAL_ILLEGAL_ARGUMENT_ERR);
  HALRecordStore* store = nullptr;
  EXPECT_EQ(HAL_openRecordStore(&store, u"", 0, 1), HAL_NOT_FOUND_ERR);
  // Only the given length counts, never a terminator.
  store = open(std::u16string(u"abc").substr(0, 2));
  HAL_closeRecordStore(store);
  EXPECT_TRUE(std::filesystem::is_directory(folder.store("ab")));
  // Nothing was made beside the database folder (the program folder's own
  // resource folder aside).
  std::set<std::string> inRoot;
  for (const auto& e : std::filesystem::directory_iterator(folder.root())) inRoot.insert(e.path().filename().string());
  EXPECT_EQ(inRoot, (std::set<std::string>{"database", "rsc"}));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.database()), {}), 2);
}

TEST(RecordStoreFiles, TwoHandlesOnOneStoreShareTheirCounters) {
  ProgramFolder folder;
  HALRecordStore* first = open(u"s");
  HALRecordStore* second = open(u"s");
  EXPECT_EQ(add(first, "a"), 1);
  EXPECT_EQ(add(second, "b"), 2);
  EXPECT_EQ(add(first, "c"), 3);
  EXPECT_EQ(word(HAL_getNumRecords, second), 3);
  HAL_closeRecordStore(first);
  EXPECT_EQ(add(second, "d"), 4);
  HAL_closeRecordStore(second);
}

TEST(RecordStoreFiles, OpeningRepairsCountersLeftBehindByACutShortChange) {
  ProgramFolder folder;
  HAL_closeRecordStore(open(u"r"));
  // Metadata that says no record was ever added, beside records 2 and 5 (an
  // add whose metadata never followed) and strays that are not records.
  std::ofstream(folder.store("r") / "record-2.bin", std::ios::binary) << "two";
  std::ofstream(folder.store("r") / "record-5.bin", std::ios::binary) << "fiver";
  std::ofstream(folder.store("r") / "record-07.bin") << "leading zero";
  std::ofstream(folder.store("r") / ".tmp-record-6.bin") << "half";
  std::ofstream(folder.store("r") / "record-x.bin") << "not a number";
  HALRecordStore* store = open(u"r", false);
  EXPECT_EQ(word(HAL_getNumRecords, store), 2);
  EXPECT_EQ(word(HAL_getNextRecordID, store), 6);
  EXPECT_EQ(word(HAL_getRecordStoreSize, store), 8);
  EXPECT_EQ(add(store, "six"), 6);
  HAL_closeRecordStore(store);

  // A metadata file cut short keeps the start values for its missing words.
  std::filesystem::resize_file(folder.store("r") / "metadata.info", 6);
  store = open(u"r", false);
  // Only lastModified is whole: the version starts again at 0 and counts
  // the three records it finds as added; the next id lies beyond them.
  EXPECT_EQ(word(HAL_getRecordStoreVersion, store), 3);
  EXPECT_EQ(word(HAL_getNextRecordID, store), 7);
  EXPECT_EQ(word(HAL_getNumRecords, store), 3);
  HAL_closeRecordStore(store);
}

}  // namespace
