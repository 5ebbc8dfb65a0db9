#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"
#include "java_lang_String.h"
#include "java_util_Vector.h"

struct HALRecordStore;

namespace javax::microedition::rms {

class RecordComparator;
class RecordEnumeration;
class RecordFilter;
class RecordListener;

// A MIDP record store over the platform's record-store files. It keeps no
// record in memory: every call goes to the files at once. Each open makes
// a new object with its own handle; handles of one store share the
// store's counters.
class RecordStore : public virtual java::lang::Object {
  VM_CLASS(RecordStore, java::lang::Object)

 public:
  using Bytes = VMArray<int8_t>;

  // Store names are 1 to 32 characters and never hold '/', '\', a control
  // character or a lone surrogate, nor are they "." or "..".
  static constexpr int32_t kMaxNameLength = 32;

  static VMPtr<RecordStore> openRecordStore(VMPtr<java::lang::String> recordStoreName, uint8_t createIfNecessary);
  static void deleteRecordStore(VMPtr<java::lang::String> recordStoreName);
  // The names of every store, or null when there is none.
  static VMPtr<VMArray<java::lang::String>> listRecordStores();

  virtual void closeRecordStore();
  virtual VMPtr<java::lang::String> getName();
  virtual int32_t getVersion();
  virtual int32_t getNumRecords();
  virtual int32_t getSize();
  virtual int32_t getSizeAvailable();
  virtual int64_t getLastModified();
  virtual void addRecordListener(VMPtr<RecordListener> listener);
  virtual void removeRecordListener(VMPtr<RecordListener> listener);
  virtual int32_t getNextRecordID();
  virtual int32_t addRecord(VMPtr<Bytes> data, int32_t offset, int32_t numBytes);
  virtual void deleteRecord(int32_t recordId);
  virtual int32_t getRecordSize(int32_t recordId);
  virtual VMPtr<Bytes> getRecord(int32_t recordId);
  virtual int32_t getRecord(int32_t recordId, VMPtr<Bytes> buffer, int32_t offset);
  virtual void setRecord(int32_t recordId, VMPtr<Bytes> newData, int32_t offset, int32_t numBytes);
  virtual VMPtr<RecordEnumeration> enumerateRecords(VMPtr<RecordFilter> filter, VMPtr<RecordComparator> comparator,
                                                    uint8_t keepUpdated);
  virtual uint8_t isOpen();
  // The ids of every record, ascending.
  virtual VMPtr<VMArray<int32_t>> getRecordIDs();

  void _VM_markReferences(int colour) override;
  ~RecordStore() override;

  VMField<java::lang::String> name;
  HALRecordStore* handle;
  VMField<java::util::Vector> listeners;

 private:
  enum class Change { Added, Changed, Deleted };

  VMPtr<RecordStore> _VM_init(VMPtr<java::lang::String> name, HALRecordStore* handle);
  void checkOpen();
  void notify(Change change, int32_t recordId);
};

}  // namespace javax::microedition::rms
