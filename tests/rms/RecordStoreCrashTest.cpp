// A process killed at any moment loses no acknowledged record and never
// hands out an id twice: the file layer is stopped after every possible
// number of steps of a scripted series of changes (as if the process died
// there), then the store is opened afresh and checked. A second test kills
// a real writer process at random moments.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <map>
#include <optional>
#include <random>
#include <set>
#include <string>

#include "CeFiles.h"
#include "HALRecordStore.h"
#include "RmsTestSupport.h"

namespace {

using namespace rms_test;

struct Step {
  enum Kind { Add, Set, Delete } kind;
  int32_t id;  // for Set and Delete
  std::string data;
};

const std::vector<Step> kScript = {
    {Step::Add, 0, "first record"}, {Step::Add, 0, ""},        {Step::Add, 0, std::string(300, 'c')},
    {Step::Set, 1, "first, changed"}, {Step::Delete, 2, ""},   {Step::Add, 0, "fourth"},
    {Step::Set, 3, "third, shorter"}, {Step::Delete, 1, ""},   {Step::Add, 0, "fifth"},
};

HALRecordStore* openStore() {
  HALRecordStore* store = nullptr;
  EXPECT_EQ(HAL_openRecordStore(&store, u"crash", 5, 1), HAL_OK);
  return store;
}

std::optional<std::string> readRecord(HALRecordStore* store, int32_t id) {
  int32_t size = 0;
  if (HAL_getRecordSize(store, id, &size) != HAL_OK) return std::nullopt;
  std::string out(static_cast<size_t>(size), '\0');
  int32_t length = size;
  if (HAL_getRecord(store, id, reinterpret_cast<uint8_t*>(out.data()), &length) != HAL_OK) return std::nullopt;
  out.resize(static_cast<size_t>(length));
  return out;
}

// What the writer was told: the records it saw acknowledged, the ids it was
// given, and the step that was under way when the process died.
struct Outcome {
  std::map<int32_t, std::string> records;
  std::set<int32_t> idsGiven;
  std::optional<Step> inFlight;
  int32_t inFlightAddId = 0;
};

Outcome runScript(HALRecordStore* store) {
  Outcome o;
  for (const Step& step : kScript) {
    const auto* data = reinterpret_cast<const uint8_t*>(step.data.data());
    const auto length = static_cast<int32_t>(step.data.size());
    HALStatus status;
    int32_t id = 0;
    if (step.kind == Step::Add) {
      HAL_getNextRecordID(store, &o.inFlightAddId);
      status = HAL_addRecord(store, &id, length > 0 ? data : nullptr, length);
    } else if (step.kind == Step::Set) {
      status = HAL_setRecord(store, step.id, data, length);
    } else {
      status = HAL_deleteRecord(store, step.id);
    }
    if (status != HAL_OK) {
      o.inFlight = step;
      return o;
    }
    if (step.kind == Step::Add) {
      o.records[id] = step.data;
      o.idsGiven.insert(id);
    } else if (step.kind == Step::Set) {
      o.records[step.id] = step.data;
    } else {
      o.records.erase(step.id);
    }
  }
  return o;
}

// Opens the store afresh and checks it against what the writer was told.
void checkAfterCrash(const Outcome& o, const std::string& where) {
  SCOPED_TRACE(where);
  HALRecordStore* store = openStore();
  std::set<int32_t> present;
  for (int32_t id = 1; id <= 12; ++id) {
    const std::optional<std::string> got = readRecord(store, id);
    if (got) present.insert(id);
    const auto acknowledged = o.records.find(id);
    const bool inFlightHere = o.inFlight && o.inFlight->kind != Step::Add && o.inFlight->id == id;
    const bool inFlightAdd = o.inFlight && o.inFlight->kind == Step::Add && o.inFlightAddId == id;
    if (acknowledged != o.records.end()) {
      if (inFlightHere && o.inFlight->kind == Step::Delete && !got) continue;  // the delete got through
      ASSERT_TRUE(got.has_value()) << "acknowledged record " << id << " lost";
      if (inFlightHere && o.inFlight->kind == Step::Set && *got == o.inFlight->data) continue;
      EXPECT_EQ(*got, acknowledged->second) << "record " << id;
    } else if (inFlightAdd && got) {
      EXPECT_EQ(*got, o.inFlight->data) << "the add under way left a partial record " << id;
    } else {
      EXPECT_FALSE(got.has_value()) << "record " << id << " should not exist";
    }
  }
  int32_t count = -1;
  HAL_getNumRecords(store, &count);
  EXPECT_EQ(count, static_cast<int32_t>(present.size()));
  // No id is handed out twice, even one whose add was not acknowledged.
  int32_t next = 0;
  const uint8_t byte = 1;
  ASSERT_EQ(HAL_addRecord(store, &next, &byte, 1), HAL_OK);
  for (int32_t id : o.idsGiven) EXPECT_GT(next, id);
  for (int32_t id : present) EXPECT_GT(next, id);
  HAL_closeRecordStore(store);
}

TEST(RecordStoreCrash, EveryStepOfAScriptLeavesAcknowledgedRecordsWhole) {
  int64_t total = 0;
  {
    ProgramFolder folder;
    HALRecordStore* store = openStore();
    CeFiles::stopAfter(INT64_MAX);
    const Outcome full = runScript(store);
    total = CeFiles::stepsTaken();
    CeFiles::resume();
    ASSERT_FALSE(full.inFlight.has_value());
    HAL_closeRecordStore(store);
  }
  ASSERT_GT(total, 20);
  for (int64_t k = 0; k <= total; ++k) {
    ProgramFolder folder;
    HALRecordStore* store = openStore();
    CeFiles::stopAfter(k);
    const Outcome o = runScript(store);
    CeFiles::resume();
    HAL_closeRecordStore(store);  // the process is gone: nothing of it stays open
    checkAfterCrash(o, "stopped after step " + std::to_string(k));
    if (HasFatalFailure()) return;
  }
}

// The next id a writer reported on the pipe, or nothing when it closed.
std::optional<int32_t> nextReport(int fd) {
  int32_t id = 0;
  if (read(fd, &id, sizeof id) != sizeof id) return std::nullopt;
  return id;
}

// A child process opens the store, reports that (id 0) on a pipe, then adds
// records as fast as it can and reports each id once the add returned; the
// parent kills it at a random moment after the open and checks that every
// reported record is whole and that ids go on beyond it. Until a first record
// has been acknowledged, a round also waits for one before its random delay,
// so that a loaded machine cannot leave the checks with nothing to check.
TEST(RecordStoreCrash, AWriterKilledAtRandomMomentsLosesNothing) {
  ProgramFolder folder;
  std::mt19937 random(11);
  std::set<int32_t> acknowledged;
  for (int round = 0; round < 12; ++round) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      close(fds[0]);
      HALRecordStore* store = nullptr;
      if (HAL_openRecordStore(&store, u"kill", 4, 1) != HAL_OK) _exit(2);
      const int32_t opened = 0;
      if (write(fds[1], &opened, sizeof opened) != sizeof opened) _exit(4);
      for (;;) {
        int32_t id = 0;
        const std::string data = "record " + std::to_string(getpid()) + std::string(200, 'x');
        if (HAL_addRecord(store, &id, reinterpret_cast<const uint8_t*>(data.data()),
                          static_cast<int32_t>(data.size())) != HAL_OK) {
          _exit(3);
        }
        if (write(fds[1], &id, sizeof id) != sizeof id) _exit(4);
      }
    }
    close(fds[1]);
    const std::optional<int32_t> opened = nextReport(fds[0]);
    if (opened && acknowledged.empty()) {
      if (const std::optional<int32_t> first = nextReport(fds[0])) acknowledged.insert(*first);
    }
    usleep(static_cast<useconds_t>(random() % 30000));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer ended by itself with " << WEXITSTATUS(status);
    ASSERT_EQ(opened, 0) << "the writer did not report its store open";
    while (const std::optional<int32_t> id = nextReport(fds[0])) acknowledged.insert(*id);
    close(fds[0]);

    HALRecordStore* store = nullptr;
    ASSERT_EQ(HAL_openRecordStore(&store, u"kill", 4, 0), HAL_OK);
    for (int32_t ack : acknowledged) {
      const std::optional<std::string> got = readRecord(store, ack);
      ASSERT_TRUE(got.has_value()) << "acknowledged record " << ack << " lost in round " << round;
      ASSERT_GT(got->size(), 207u);
      EXPECT_EQ(got->substr(0, 7), "record ");
      EXPECT_EQ(got->substr(got->size() - 200), std::string(200, 'x'));
    }
    int32_t next = 0;
    HAL_getNextRecordID(store, &next);
    if (!acknowledged.empty()) {
      EXPECT_GT(next, *acknowledged.rbegin());
    }
    HAL_closeRecordStore(store);
  }
  EXPECT_FALSE(acknowledged.empty());
}

}  // namespace
