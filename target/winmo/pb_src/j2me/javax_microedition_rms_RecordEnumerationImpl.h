#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"
#include "javax_microedition_rms_RecordComparator.h"
#include "javax_microedition_rms_RecordEnumeration.h"
#include "javax_microedition_rms_RecordFilter.h"
#include "javax_microedition_rms_RecordListener.h"
#include "javax_microedition_rms_RecordStore.h"

namespace javax::microedition::rms {

// The record enumeration of a store: the ids of its records, filtered and
// ordered, walked by a cursor in both directions. When kept updated it
// listens to the store and edits its ids on every change instead of
// rebuilding them. Every filter test and comparison reads the records
// from the store again.
//
// Lock order: a change to the store notifies its listeners with the
// store's listener list locked, and the enumeration then takes its own
// monitor; the enumeration never adds or removes itself as a listener
// while it holds its own monitor, so the two are always taken in that
// order.
class RecordEnumerationImpl : public virtual java::lang::Object,
                              public virtual RecordEnumeration,
                              public virtual RecordListener {
  VM_CLASS(RecordEnumerationImpl, java::lang::Object)

 public:
  VMPtr<RecordEnumerationImpl> _VM_init(VMPtr<RecordStore> store, VMPtr<RecordFilter> filter,
                                        VMPtr<RecordComparator> comparator, uint8_t keepUpdated);

  int32_t numRecords() override;
  VMPtr<VMArray<int8_t>> nextRecord() override;
  int32_t nextRecordId() override;
  VMPtr<VMArray<int8_t>> previousRecord() override;
  int32_t previousRecordId() override;
  uint8_t hasNextElement() override;
  uint8_t hasPreviousElement() override;
  void reset() override;
  void rebuild() override;
  void keepUpdated(uint8_t keepUpdated) override;
  uint8_t isKeptUpdated() override;
  void destroy() override;

  void recordAdded(VMPtr<RecordStore> store, int32_t recordId) override;
  void recordChanged(VMPtr<RecordStore> store, int32_t recordId) override;
  void recordDeleted(VMPtr<RecordStore> store, int32_t recordId) override;

  void _VM_markReferences(int colour) override;

  VMField<RecordStore> store;
  VMField<RecordComparator> comparator;
  VMField<RecordFilter> filter;
  VMField<VMArray<int32_t>> ids;
  uint8_t keptUpdated;
  int32_t cursor;

 private:
  void checkAlive();
  void refilterAndSort();
  void sort(VMPtr<VMArray<int32_t>> list, int32_t low, int32_t high);
  void filterAdd(int32_t recordId);
  void removeId(int32_t recordId);
};

}  // namespace javax::microedition::rms
