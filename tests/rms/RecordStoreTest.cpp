// javax.microedition.rms.RecordStore and its enumeration over the
// record-store files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CeFiles.h"
#include "JavaTestSupport.h"
#include "RmsTestSupport.h"
#include "VMClassRegistry.h"
#include "VMTestEnv.h"
#include "java_lang_Class.h"
#include "java_lang_ArrayIndexOutOfBoundsException.h"
#include "java_lang_IllegalArgumentException.h"
#include "java_lang_IllegalStateException.h"
#include "java_lang_NullPointerException.h"
#include "javax_microedition_rms_InvalidRecordIDException.h"
#include "javax_microedition_rms_RecordComparator.h"
#include "javax_microedition_rms_RecordEnumeration.h"
#include "javax_microedition_rms_RecordFilter.h"
#include "javax_microedition_rms_RecordListener.h"
#include "javax_microedition_rms_RecordStore.h"
#include "javax_microedition_rms_RecordStoreException.h"
#include "javax_microedition_rms_RecordStoreNotFoundException.h"
#include "javax_microedition_rms_RecordStoreNotOpenException.h"

namespace rms_test {

// Records every notification as text: "added 3", "deleted 5" ...
class LoggingListener : public virtual java::lang::Object, public virtual javax::microedition::rms::RecordListener {
  VM_CLASS(LoggingListener, java::lang::Object)

 public:
  void recordAdded(VMPtr<javax::microedition::rms::RecordStore>, int32_t id) override {
    log.push_back("added " + std::to_string(id));
  }
  void recordChanged(VMPtr<javax::microedition::rms::RecordStore>, int32_t id) override {
    log.push_back("changed " + std::to_string(id));
  }
  void recordDeleted(VMPtr<javax::microedition::rms::RecordStore>, int32_t id) override {
    log.push_back("deleted " + std::to_string(id));
  }
  std::vector<std::string> log;
};

// Orders records by their first byte.
class FirstByteOrder : public virtual java::lang::Object, public virtual javax::microedition::rms::RecordComparator {
  VM_CLASS(FirstByteOrder, java::lang::Object)

 public:
  int32_t compare(VMPtr<VMArray<int8_t>> a, VMPtr<VMArray<int8_t>> b) override {
    const int8_t x = a->length > 0 ? a->elements()[0] : 0;
    const int8_t y = b->length > 0 ? b->elements()[0] : 0;
    return x > y ? FOLLOWS : x < y ? PRECEDES : EQUIVALENT;
  }
};

// Keeps records whose first byte is even.
class EvenFirstByte : public virtual java::lang::Object, public virtual javax::microedition::rms::RecordFilter {
  VM_CLASS(EvenFirstByte, java::lang::Object)

 public:
  uint8_t matches(VMPtr<VMArray<int8_t>> r) override { return r->length > 0 && r->elements()[0] % 2 == 0; }
};

}  // namespace rms_test

VM_REGISTER_CLASS(rms_test::LoggingListener, "rms_test.LoggingListener", "java.lang.Object", 0);
VM_IMPLEMENTS(rms_test::LoggingListener, "javax.microedition.rms.RecordListener");
VM_REGISTER_CLASS(rms_test::FirstByteOrder, "rms_test.FirstByteOrder", "java.lang.Object", 0);
VM_IMPLEMENTS(rms_test::FirstByteOrder, "javax.microedition.rms.RecordComparator");
VM_REGISTER_CLASS(rms_test::EvenFirstByte, "rms_test.EvenFirstByte", "java.lang.Object", 0);
VM_IMPLEMENTS(rms_test::EvenFirstByte, "javax.microedition.rms.RecordFilter");

namespace {

using namespace rms_test;
using java::lang::String;
using java_test::jstr;
using javax::microedition::rms::InvalidRecordIDException;
using javax::microedition::rms::RecordEnumeration;
using javax::microedition::rms::RecordStore;
using Bytes = VMArray<int8_t>;

VMPtr<Bytes> data(std::initializer_list<int> values) {
  VMPtr<Bytes> out = Bytes::create(static_cast<int32_t>(values.size()));
  int32_t i = 0;
  for (int v : values) out->elements()[i++] = static_cast<int8_t>(v);
  return out;
}

VMPtr<RecordStore> open(const char16_t* name, bool create = true) {
  return RecordStore::openRecordStore(jstr(name), create);
}

TEST(RecordStore, EveryClassIsRegisteredUnderItsNameAndSuperclass) {
  VMTestEnv::start();
  struct Entry {
    const char* name;
    const char* super;
    bool interface;
    const char* implements;
  };
  const Entry table[] = {
      {"javax.microedition.rms.RecordStore", "java.lang.Object", false, nullptr},
      {"javax.microedition.rms.RecordEnumerationImpl", "java.lang.Object", false,
       "javax.microedition.rms.RecordEnumeration"},
      {"javax.microedition.rms.RecordEnumeration", "java.lang.Object", true, nullptr},
      {"javax.microedition.rms.RecordListener", "java.lang.Object", true, nullptr},
      {"javax.microedition.rms.RecordFilter", "java.lang.Object", true, nullptr},
      {"javax.microedition.rms.RecordComparator", "java.lang.Object", true, nullptr},
      {"javax.microedition.rms.RecordStoreException", "java.lang.Exception", false, nullptr},
      {"javax.microedition.rms.RecordStoreNotFoundException", "javax.microedition.rms.RecordStoreException", false,
       nullptr},
      {"javax.microedition.rms.RecordStoreNotOpenException", "javax.microedition.rms.RecordStoreException", false,
       nullptr},
      {"javax.microedition.rms.InvalidRecordIDException", "javax.microedition.rms.RecordStoreException", false,
       nullptr},
  };
  for (const Entry& e : table) {
    SCOPED_TRACE(e.name);
    java::lang::Class* c = _VM_findClass(e.name);
    ASSERT_NE(c, nullptr);
    EXPECT_STREQ(c->_VM_superName.c_str(), e.super);
    EXPECT_EQ(c->_VM_isInterface, e.interface);
    if (e.implements != nullptr) {
      EXPECT_TRUE(_VM_implementsInterface(c, _VM_findClass(e.implements)));
    }
  }
  EXPECT_TRUE(_VM_implementsInterface(_VM_findClass("javax.microedition.rms.RecordEnumerationImpl"),
                                      _VM_findClass("javax.microedition.rms.RecordListener")));
}

TEST(RecordStore, NamesAreCheckedBeforeTheFilesAreTouched) {
  VMTestEnv::start();
  ProgramFolder folder;
  EXPECT_THROW(RecordStore::openRecordStore(VMPtr<String>(), true), java::lang::NullPointerException*);
  EXPECT_THROW(open(std::u16string(33, u'n').c_str()), java::lang::IllegalArgumentException*);
  EXPECT_TRUE(open(std::u16string(32, u'n').c_str())->isOpen());
  for (const char16_t* bad : {u"", u"..", u"a/b", u"a\\b", u"x\ny"}) {
    EXPECT_THROW(open(bad), java::lang::IllegalArgumentException*) << std::u16string(bad).size();
  }
  // No store has a name longer than 32 characters, so deleting one finds
  // nothing; a name that would leave the folder is still refused.
  for (size_t length : {33, 300}) {
    EXPECT_THROW(RecordStore::deleteRecordStore(jstr(std::u16string(length, u'n').c_str())),
                 javax::microedition::rms::RecordStoreNotFoundException*)
        << length;
  }
  EXPECT_TRUE(open(std::u16string(32, u'n').c_str(), false)->isOpen());
  EXPECT_THROW(RecordStore::deleteRecordStore(jstr(u"../x")), java::lang::IllegalArgumentException*);
  EXPECT_THROW(RecordStore::deleteRecordStore(jstr(u"")), javax::microedition::rms::RecordStoreNotFoundException*);
  EXPECT_THROW(RecordStore::deleteRecordStore(VMPtr<String>()), java::lang::NullPointerException*);
}

TEST(RecordStore, OpeningListingAndDeleting) {
  VMTestEnv::start();
  ProgramFolder folder;
  EXPECT_TRUE(RecordStore::listRecordStores().isNull());
  EXPECT_THROW(open(u"missing", false), javax::microedition::rms::RecordStoreNotFoundException*);
  open(u"one");
  open(u"two")->closeRecordStore();
  // Folders no store name makes (too long, not UTF-8) are not listed.
  std::filesystem::create_directory(folder.store(std::string(70, 'x')));
  std::filesystem::create_directory(folder.store("\xff"));
  VMPtr<VMArray<String>> names = RecordStore::listRecordStores();
  ASSERT_EQ(names->length, 2);
  EXPECT_EQ(java_test::text(names->get(0)), u"one");
  EXPECT_EQ(java_test::text(names->get(1)), u"two");
  RecordStore::deleteRecordStore(jstr(u"two"));
  EXPECT_EQ(RecordStore::listRecordStores()->length, 1);
  EXPECT_TRUE(open(u"one", false)->isOpen());
}

TEST(RecordStore, RecordsTheirErrorsAndTheClosedStore) {
  VMTestEnv::start();
  ProgramFolder folder;
  VMPtr<RecordStore> store = open(u"records");
  EXPECT_EQ(store->addRecord(VMPtr<Bytes>(), 0, 0), 1);  // an empty record
  EXPECT_EQ(store->getRecord(1)->length, 0);
  EXPECT_THROW(store->addRecord(data({1, 2, 3, 4}), 2, 3), java::lang::ArrayIndexOutOfBoundsException*);
  EXPECT_THROW(store->addRecord(data({1}), -1, 0), java::lang::ArrayIndexOutOfBoundsException*);
  EXPECT_EQ(store->addRecord(data({1, 2, 3, 4}), 1, 2), 2);
  VMPtr<Bytes> two = store->getRecord(2);
  ASSERT_EQ(two->length, 2);
  EXPECT_EQ(two->elements()[0], 2);
  EXPECT_EQ(two->elements()[1], 3);
  EXPECT_THROW(store->getRecord(9), InvalidRecordIDException*);
  EXPECT_THROW(store->deleteRecord(9), InvalidRecordIDException*);
  EXPECT_THROW(store->setRecord(9, data({1}), 0, 1), InvalidRecordIDException*);

  VMPtr<Bytes> buffer = data({9, 9, 9});
  EXPECT_EQ(store->getRecord(2, buffer, 1), 2);
  EXPECT_EQ(buffer->elements()[0], 9);
  EXPECT_EQ(buffer->elements()[2], 3);
  EXPECT_THROW(store->getRecord(2, buffer, 2), java::lang::ArrayIndexOutOfBoundsException*);  // no room
  EXPECT_EQ(buffer->elements()[2], 3);
  EXPECT_THROW(store->getRecord(2, VMPtr<Bytes>(), 0), java::lang::NullPointerException*);

  EXPECT_EQ(store->getNumRecords(), 2);
  EXPECT_EQ(store->getSize(), 2);
  EXPECT_EQ(store->getVersion(), 2);
  EXPECT_EQ(store->getNextRecordID(), 3);
  EXPECT_EQ(java_test::text(store->getName()), u"records");

  store->closeRecordStore();
  EXPECT_FALSE(store->isOpen());
  EXPECT_THROW(store->addRecord(VMPtr<Bytes>(), 0, 1), java::lang::NullPointerException*);
  EXPECT_THROW(store->addRecord(VMPtr<Bytes>(), 0, 0), javax::microedition::rms::RecordStoreNotOpenException*);
  EXPECT_THROW(store->getNumRecords(), javax::microedition::rms::RecordStoreNotOpenException*);
  EXPECT_THROW(store->closeRecordStore(), javax::microedition::rms::RecordStoreNotOpenException*);
}

TEST(RecordStore, ListenersHearEveryChangeOnce) {
  VMTestEnv::start();
  ProgramFolder folder;
  VMPtr<RecordStore> store = open(u"heard");
  VMPtr<LoggingListener> listener = LoggingListener::_VM_new();
  store->addRecordListener(listener);
  store->addRecordListener(listener);
  for (int i = 0; i < 5; ++i) store->addRecord(data({i}), 0, 1);
  store->setRecord(2, data({7}), 0, 1);
  store->deleteRecord(5);
  store->removeRecordListener(listener);
  store->deleteRecord(4);
  EXPECT_EQ(listener->log, (std::vector<std::string>{"added 1", "added 2", "added 3", "added 4", "added 5",
                                                     "changed 2", "deleted 5"}));
}

TEST(RecordStore, AChangeTheDiskRefusesIsReportedAndNotHeard) {
  VMTestEnv::start();
  ProgramFolder folder;
  VMPtr<RecordStore> store = open(u"refused");
  EXPECT_EQ(store->addRecord(data({1}), 0, 1), 1);
  VMPtr<LoggingListener> listener = LoggingListener::_VM_new();
  store->addRecordListener(listener);
  // Each change fails once its record file has changed, when its metadata
  // is written (the add's and the set's record replacement take three
  // steps, the delete's removal one).
  CeFiles::failStepAfter(3);
  EXPECT_THROW(store->addRecord(data({2}), 0, 1), javax::microedition::rms::RecordStoreException*);
  CeFiles::failStepAfter(3);
  EXPECT_THROW(store->setRecord(1, data({3}), 0, 1), javax::microedition::rms::RecordStoreException*);
  CeFiles::failStepAfter(1);
  EXPECT_THROW(store->deleteRecord(1), javax::microedition::rms::RecordStoreException*);
  CeFiles::resume();
  EXPECT_TRUE(listener->log.empty());
  EXPECT_EQ(store->getNumRecords(), 1);
  EXPECT_EQ(store->getVersion(), 1);
  EXPECT_EQ(store->getRecord(1)->elements()[0], 1);

  EXPECT_EQ(store->addRecord(data({2}), 0, 1), 2);
  store->setRecord(1, data({3}), 0, 1);
  store->deleteRecord(1);
  EXPECT_EQ(store->getNumRecords(), 1);
  EXPECT_EQ(store->getNextRecordID(), 3);
  EXPECT_EQ(listener->log, (std::vector<std::string>{"added 2", "changed 1", "deleted 1"}));

  // A store deletion the disk refuses (its first removal) is a store
  // failure, not a missing store; the store stays whole and a retry
  // deletes it.
  store->closeRecordStore();
  CeFiles::failStepAfter(0);
  try {
    RecordStore::deleteRecordStore(jstr(u"refused"));
    ADD_FAILURE() << "no exception";
  } catch (javax::microedition::rms::RecordStoreException* e) {
    EXPECT_EQ(dynamic_cast<javax::microedition::rms::RecordStoreNotFoundException*>(e), nullptr);
  }
  CeFiles::resume();
  EXPECT_EQ(open(u"refused", false)->getNumRecords(), 1);
  RecordStore::deleteRecordStore(jstr(u"refused"));
  EXPECT_TRUE(RecordStore::listRecordStores().isNull());
}

std::vector<int32_t> walk(VMPtr<RecordEnumeration> e) {
  std::vector<int32_t> ids;
  e->reset();
  while (e->hasNextElement()) ids.push_back(e->nextRecordId());
  return ids;
}

TEST(RecordEnumeration, FiltersOrdersAndWalksBothWays) {
  VMTestEnv::start();
  ProgramFolder folder;
  VMPtr<RecordStore> store = open(u"walk");
  VMPtr<RecordEnumeration> empty = store->enumerateRecords(nullptr, nullptr, false);
  EXPECT_EQ(empty->numRecords(), 0);
  EXPECT_FALSE(empty->hasNextElement());
  EXPECT_THROW(empty->nextRecordId(), InvalidRecordIDException*);
  EXPECT_THROW(empty->previousRecordId(), InvalidRecordIDException*);

  for (int first : {30, 10, 20, 11, 40}) store->addRecord(data({first}), 0, 1);  // ids 1..5
  VMPtr<RecordEnumeration> ordered = store->enumerateRecords(nullptr, FirstByteOrder::_VM_new(), false);
  EXPECT_EQ(walk(ordered), (std::vector<int32_t>{2, 4, 3, 1, 5}));
  ordered->reset();
  EXPECT_EQ(ordered->previousRecordId(), 5);  // from before the start: the last
  EXPECT_EQ(ordered->previousRecordId(), 1);
  EXPECT_EQ(ordered->previousRecord()->elements()[0], 20);
  EXPECT_TRUE(ordered->hasPreviousElement());

  VMPtr<RecordEnumeration> even = store->enumerateRecords(EvenFirstByte::_VM_new(), FirstByteOrder::_VM_new(), false);
  EXPECT_EQ(walk(even), (std::vector<int32_t>{2, 3, 1, 5}));

  even->destroy();
  EXPECT_THROW(even->isKeptUpdated(), java::lang::IllegalStateException*);
  EXPECT_THROW(even->destroy(), java::lang::IllegalStateException*);
}

TEST(RecordEnumeration, KeptUpdatedFollowsChangesAndKeepsItsCursor) {
  VMTestEnv::start();
  ProgramFolder folder;
  VMPtr<RecordStore> store = open(u"kept");
  for (int first : {10, 20, 30}) store->addRecord(data({first}), 0, 1);  // ids 1, 2, 3
  VMPtr<RecordEnumeration> e = store->enumerateRecords(nullptr, FirstByteOrder::_VM_new(), true);
  EXPECT_TRUE(e->isKeptUpdated());
  EXPECT_EQ(e->nextRecordId(), 1);
  EXPECT_EQ(e->nextRecordId(), 2);  // the cursor is on the second of three
  store->deleteRecord(1);
  EXPECT_EQ(e->numRecords(), 2);
  EXPECT_EQ(e->nextRecordId(), 3);  // still after record 2
  // An equal first byte goes before the record it equals.
  EXPECT_EQ(store->addRecord(data({20}), 0, 1), 4);
  EXPECT_EQ(walk(e), (std::vector<int32_t>{4, 2, 3}));
  store->setRecord(4, data({99}), 0, 1);
  EXPECT_EQ(walk(e), (std::vector<int32_t>{2, 3, 4}));
  e->keepUpdated(false);
  store->addRecord(data({1}), 0, 1);
  EXPECT_EQ(e->numRecords(), 3);
  e->rebuild();
  EXPECT_EQ(walk(e), (std::vector<int32_t>{5, 2, 3, 4}));
  e->destroy();
  store->addRecord(data({2}), 0, 1);  // a destroyed enumeration hears nothing
}

}  // namespace
