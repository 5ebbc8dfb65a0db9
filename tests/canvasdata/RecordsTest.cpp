// Numbered records on real record stores: pieces of 4096 bytes, empty and
// missing records, deletion, a kill at every file step of a save over an
// existing record, index loading from a record, and the end-to-end path of
// a test canvas that loads a level from rsc/ and saves what it read.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "CeFiles.h"
#include "JavaTestSupport.h"
#include "LevelWriter.h"
#include "PackFixtures.h"
#include "SimplePackWriter.h"
#include "TestCanvas.h"
#include "VMTestEnv.h"
#include "javax_microedition_rms_RecordStore.h"
#include "tq_Resources.h"

using namespace pack_fixtures;
using javax::microedition::rms::RecordStore;
using test::canvasdata::TestCanvas;

namespace {

Bytes pattern(size_t n, uint8_t seed) {
  Bytes b(n);
  for (size_t i = 0; i < n; ++i) b[i] = static_cast<uint8_t>(seed + i * 7);
  return b;
}

std::vector<int32_t> recordSizes(int32_t n) {
  VMPtr<RecordStore> rs = RecordStore::openRecordStore(java::lang::String::valueOf(n), 0);
  std::vector<int32_t> sizes;
  for (int32_t i = 1; i <= rs->getNumRecords(); ++i) sizes.push_back(rs->getRecordSize(i));
  rs->closeRecordStore();
  return sizes;
}

struct Canvas {
  ProgramFolder folder;
  bool vmStarted = VMTestEnv::start() != nullptr;  // before the first reference
  VMPtr<TestCanvas> canvas = TestCanvas::make();
  ~Canvas() { TestCanvas::stop(); }
};

TEST(Records, PiecesOf4096ReadBackWhole) {
  Canvas c;
  struct Case {
    int32_t n;
    size_t size;
    std::vector<int32_t> pieces;
  };
  for (const Case& k : {Case{2, 1000, {1000}}, Case{3, 10000, {4096, 4096, 1808}}, Case{-3, 4096, {4096}},
                        Case{4, 4097, {4096, 1}}, Case{5, 0, {}}}) {
    SCOPED_TRACE(k.n);
    const Bytes data = pattern(k.size, static_cast<uint8_t>(k.n));
    EXPECT_TRUE(c.canvas->writeRecord(k.n, javaBytes(data)));
    EXPECT_EQ(recordSizes(k.n), k.pieces);
    VMPtr<VMArray<int8_t>> back = c.canvas->readRecord(k.n);
    ASSERT_TRUE(back);  // an empty record is an empty array, not null
    EXPECT_EQ(nativeBytes(back), data);
  }
  EXPECT_FALSE(c.canvas->readRecord(9));
}

TEST(Records, SavesOverSavesAndDeletion) {
  Canvas c;
  // Same piece count (in place), then more pieces, then fewer.
  for (size_t size : {1000u, 900u, 5000u, 8192u, 10u, 0u, 3u}) {
    const Bytes data = pattern(size, static_cast<uint8_t>(size));
    EXPECT_TRUE(c.canvas->writeRecord(1, javaBytes(data)));
    EXPECT_EQ(nativeBytes(c.canvas->readRecord(1)), data) << size;
  }
  EXPECT_TRUE(c.canvas->writeRecord(1, VMPtr<VMArray<int8_t>>()));
  EXPECT_FALSE(c.canvas->readRecord(1));
  EXPECT_TRUE(c.canvas->writeRecord(1, VMPtr<VMArray<int8_t>>()));  // deleting nothing succeeds
  c.canvas->writeRecord(6, javaBytes({1}));
  c.canvas->deleteRecord(6);
  EXPECT_FALSE(c.canvas->readRecord(6));

  for (int32_t n : {0, -3, 7}) c.canvas->writeRecord(n, javaBytes({1, 2}));
  RecordStore::openRecordStore(java_test::jstr(u"word"), 1)->closeRecordStore();
  EXPECT_TRUE(c.canvas->deleteAllRecords());
  VMPtr<VMArray<java::lang::String>> left = RecordStore::listRecordStores();
  ASSERT_TRUE(left);
  ASSERT_EQ(left->length, 1);
  EXPECT_EQ(java_test::text(left->get(0)), u"word");
}

// The file layer stops after k steps, as if the process died there; the
// record then reads back whole, old or new. Saves of one piece over one
// piece, as all the game's are.
TEST(Records, AKillDuringASaveKeepsTheOldOrTheNewBytes) {
  Canvas c;
  const Bytes before = pattern(524, 1);
  const Bytes after = pattern(524, 99);
  bool completed = false;
  for (int64_t k = 0; !completed && k < 100; ++k) {
    SCOPED_TRACE(k);
    ASSERT_TRUE(c.canvas->writeRecord(8, javaBytes(before)));
    CeFiles::stopAfter(k);
    completed = c.canvas->writeRecord(8, javaBytes(after));
    CeFiles::resume();
    const Bytes found = nativeBytes(c.canvas->readRecord(8));
    if (completed) {
      EXPECT_EQ(found, after);
    } else {
      EXPECT_TRUE(found == before || found == after);
    }
  }
  EXPECT_TRUE(completed);
}

// One file step fails (a full disk, a refused write) and the rest succeed:
// a save that reports failure leaves the old bytes, one that reports
// success the new, whichever step fails, on the in-place path (same piece
// count) and on the delete-and-add path (more or fewer pieces).
TEST(Records, AFailedStepDuringASaveLeavesTheOldBytes) {
  Canvas c;
  struct Case {
    size_t before, after;
  };
  for (const Case& s : {Case{524, 700}, Case{5000, 1000}, Case{1000, 5000}}) {
    const Bytes before = pattern(s.before, 1);
    const Bytes after = pattern(s.after, 99);
    // Count the steps of the save when nothing fails.
    ASSERT_TRUE(c.canvas->writeRecord(8, javaBytes(before)));
    CeFiles::stopAfter(INT64_MAX);
    ASSERT_TRUE(c.canvas->writeRecord(8, javaBytes(after)));
    const int64_t steps = CeFiles::stepsTaken();
    CeFiles::resume();
    int failures = 0;
    for (int64_t k = 0; k < steps; ++k) {
      SCOPED_TRACE(testing::Message() << s.before << " -> " << s.after << ", step " << k);
      ASSERT_TRUE(c.canvas->writeRecord(8, javaBytes(before)));
      CeFiles::failStepAfter(k);
      const bool completed = c.canvas->writeRecord(8, javaBytes(after));
      CeFiles::resume();
      failures += completed ? 0 : 1;
      EXPECT_EQ(nativeBytes(c.canvas->readRecord(8)), completed ? after : before);
    }
    EXPECT_GT(failures, 0);
  }
}

TEST(Records, PackIndexFromARecord) {
  Canvas c;
  const Bytes image = content::writeSimplePack({{3, {5, 6}}, {4, {7}}});
  ASSERT_TRUE(c.canvas->writeRecord(12, javaBytes(image)));
  EXPECT_TRUE(c.canvas->loadIndexFromRecord(12));
  EXPECT_EQ(c.canvas->getResourceType(1), 4);
  EXPECT_EQ(nativeBytes(c.canvas->getBytes(0)), (Bytes{5, 6}));
  // The pack points the canvas's read buffer at a resource in place.
  EXPECT_EQ(tq::Resources::currentPack()->loadToReadBuffer(1), 1);
  EXPECT_EQ(tq::TqCanvas::readPosition, 2);
  EXPECT_EQ(tq::TqCanvas::readByte(), 7);
  EXPECT_FALSE(c.canvas->loadIndexFromRecord(-1));
  EXPECT_FALSE(c.canvas->loadIndexFromRecord(13));
  EXPECT_EQ(tq::io::resource::ResourcePack::currentPack, -1);
}

// A canvas loads a level from a pack in rsc/, saves what it decoded and
// reads it back.
TEST(Records, LevelFromAPackSavedAndReloaded) {
  Canvas c;
  // No filler, no header, a 2 x 1 grid of one palette code, no entities.
  content::LevelMap map;
  map.columns = 16;
  map.palette = {3};
  map.width = 2;
  map.height = 1;
  map.cells = {1, 0};
  const Bytes level = content::writeLevel(content::Level{false, {}, map, {}});
  c.folder.put("RP2.rp", content::writeSimplePack({{0, {}}, {0, level}}));
  c.canvas->loadLevel(2049);
  ASSERT_FALSE(c.canvas->hooks.empty());
  tq::TqCanvas::writeBuffer = VMArray<int8_t>::create(static_cast<int32_t>(c.canvas->hooks.size()) * 4);
  tq::TqCanvas::writePosition = 0;
  for (size_t i = 0; i < c.canvas->hooks.size(); ++i) tq::TqCanvas::writeInt(static_cast<int32_t>(c.canvas->hooks[i].size()));
  ASSERT_TRUE(c.canvas->writeRecord(0, VMPtr<VMArray<int8_t>>(tq::TqCanvas::writeBuffer)));
  tq::TqCanvas::readBuffer = c.canvas->readRecord(0);
  tq::TqCanvas::readPosition = 0;
  for (const std::string& hook : c.canvas->hooks) EXPECT_EQ(tq::TqCanvas::readInt(), static_cast<int32_t>(hook.size()));
}

}  // namespace
