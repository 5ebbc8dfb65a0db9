#include "javax_microedition_rms_RecordEnumerationImpl.h"

#include "VMSynchronized.h"
#include "VMThrow.h"
#include "java_lang_IllegalStateException.h"
#include "javax_microedition_rms_InvalidRecordIDException.h"
#include "javax_microedition_rms_RecordStoreException.h"

VM_REGISTER_CLASS(javax::microedition::rms::RecordEnumerationImpl, "javax.microedition.rms.RecordEnumerationImpl",
                  "java.lang.Object", 0);
VM_IMPLEMENTS(javax::microedition::rms::RecordEnumerationImpl, "javax.microedition.rms.RecordEnumeration");
VM_IMPLEMENTS(javax::microedition::rms::RecordEnumerationImpl, "javax.microedition.rms.RecordListener");

namespace javax::microedition::rms {

namespace {

using Ids = VMArray<int32_t>;
using Bytes = VMArray<int8_t>;

VMPtr<Ids> copyOf(Ids* from, int32_t count) {
  VMPtr<Ids> out = Ids::create(count);
  for (int32_t i = 0; i < count; ++i) out->elements()[i] = from->elements()[i];
  return out;
}

}  // namespace

VMPtr<RecordEnumerationImpl> RecordEnumerationImpl::_VM_init(VMPtr<RecordStore> store, VMPtr<RecordFilter> filter,
                                                             VMPtr<RecordComparator> comparator,
                                                             uint8_t keepUpdated) {
  Object::_VM_init();
  this->store = store;
  this->filter = filter;
  this->comparator = comparator;
  keptUpdated = keepUpdated ? 1 : 0;
  cursor = -1;
  ids = Ids::create(0);
  if (keptUpdated) store->addRecordListener(VMPtr<RecordListener>(this));
  rebuild();
  return VMPtr<RecordEnumerationImpl>(this);
}

void RecordEnumerationImpl::_VM_markReferences(int colour) {
  _VM_mark(store, colour);
  _VM_mark(comparator, colour);
  _VM_mark(filter, colour);
  _VM_mark(ids, colour);
  Object::_VM_markReferences(colour);
}

void RecordEnumerationImpl::checkAlive() {
  if (!store) _VM_throwNew<java::lang::IllegalStateException>();
}

int32_t RecordEnumerationImpl::numRecords() {
  VMSynchronized guard(this);
  checkAlive();
  return ids->length;
}

int32_t RecordEnumerationImpl::nextRecordId() {
  VMSynchronized guard(this);
  checkAlive();
  if (cursor >= ids->length - 1) _VM_throwNew<InvalidRecordIDException>();
  ++cursor;
  return ids->elements()[cursor];
}

VMPtr<Bytes> RecordEnumerationImpl::nextRecord() {
  VMSynchronized guard(this);
  checkAlive();
  const int32_t id = nextRecordId();
  return VMPtr<RecordStore>(store)->getRecord(id);
}

int32_t RecordEnumerationImpl::previousRecordId() {
  VMSynchronized guard(this);
  checkAlive();
  if (ids->length == 0 || cursor == 0) _VM_throwNew<InvalidRecordIDException>();
  cursor = cursor == -1 ? ids->length - 1 : cursor - 1;
  return ids->elements()[cursor];
}

VMPtr<Bytes> RecordEnumerationImpl::previousRecord() {
  VMSynchronized guard(this);
  checkAlive();
  const int32_t id = previousRecordId();
  return VMPtr<RecordStore>(store)->getRecord(id);
}

uint8_t RecordEnumerationImpl::hasNextElement() {
  checkAlive();
  if (ids->length == 0 || cursor == ids->length - 1) return 0;
  return VMPtr<RecordStore>(store)->isOpen();
}

uint8_t RecordEnumerationImpl::hasPreviousElement() {
  checkAlive();
  if (ids->length == 0 || cursor == 0) return 0;
  return VMPtr<RecordStore>(store)->isOpen();
}

void RecordEnumerationImpl::reset() {
  checkAlive();
  cursor = -1;
}

void RecordEnumerationImpl::rebuild() {
  checkAlive();
  refilterAndSort();
}

void RecordEnumerationImpl::keepUpdated(uint8_t keepUpdated) {
  checkAlive();
  const uint8_t wanted = keepUpdated ? 1 : 0;
  if (wanted == keptUpdated) return;
  keptUpdated = wanted;
  VMPtr<RecordStore> s(store);
  if (wanted) {
    s->addRecordListener(VMPtr<RecordListener>(this));
    rebuild();
  } else {
    s->removeRecordListener(VMPtr<RecordListener>(this));
  }
}

uint8_t RecordEnumerationImpl::isKeptUpdated() {
  checkAlive();
  return keptUpdated;
}

void RecordEnumerationImpl::destroy() {
  checkAlive();
  // Leaves the store's listeners before taking its own monitor: a change
  // notifies with the listener list locked and then takes this monitor.
  if (keptUpdated) VMPtr<RecordStore>(store)->removeRecordListener(VMPtr<RecordListener>(this));
  VMSynchronized guard(this);
  if (!store) _VM_throwNew<java::lang::IllegalStateException>();
  store = nullptr;
  comparator = nullptr;
  filter = nullptr;
  ids = nullptr;
}

void RecordEnumerationImpl::refilterAndSort() {
  VMPtr<RecordStore> s(store);
  try {
    VMPtr<Ids> all = s->getRecordIDs();
    VMPtr<RecordFilter> f(filter);
    if (f) {
      int32_t kept = 0;
      for (int32_t i = 0; i < all->length; ++i) {
        const int32_t id = all->elements()[i];
        if (f->matches(s->getRecord(id))) all->elements()[kept++] = id;
      }
      all = copyOf(all.get(), kept);
    }
    if (comparator && all->length > 1) sort(all, 0, all->length - 1);
    ids = all;
  } catch (RecordStoreException* e) {
    VMPtr<RecordStoreException> ignored(e);  // a store failure leaves the ids as they were
  }
  cursor = -1;
}

void RecordEnumerationImpl::sort(VMPtr<Ids> list, int32_t low, int32_t high) {
  VMPtr<RecordStore> s(store);
  VMPtr<RecordComparator> c(comparator);
  int32_t* e = list->elements();
  VMPtr<Bytes> pivot = s->getRecord(e[low + (high - low) / 2]);
  int32_t i = low;
  int32_t j = high;
  while (i <= j) {
    while (i <= high && c->compare(s->getRecord(list->elements()[i]), pivot) == RecordComparator::PRECEDES) ++i;
    while (j >= low && c->compare(s->getRecord(list->elements()[j]), pivot) == RecordComparator::FOLLOWS) --j;
    if (i <= j) {
      e = list->elements();
      std::swap(e[i], e[j]);
      ++i;
      --j;
    }
  }
  // Only ranges that shrank are sorted again: a comparator that does not
  // order consistently ends the sort instead of recursing for ever.
  if (low < j && j < high) sort(list, low, j);
  if (i < high && i > low) sort(list, i, high);
}

void RecordEnumerationImpl::filterAdd(int32_t recordId) {
  VMPtr<RecordStore> s(store);
  try {
    VMPtr<RecordFilter> f(filter);
    if (f && !f->matches(s->getRecord(recordId))) return;
    VMPtr<Ids> old(ids);
    VMPtr<Ids> grown = Ids::create(old->length + 1);
    grown->elements()[0] = recordId;
    for (int32_t i = 0; i < old->length; ++i) grown->elements()[i + 1] = old->elements()[i];
    int32_t position = -1;
    VMPtr<RecordComparator> c(comparator);
    if (c) {
      position = 0;
      while (position + 1 < grown->length &&
             c->compare(s->getRecord(grown->elements()[position]), s->getRecord(grown->elements()[position + 1])) ==
                 RecordComparator::FOLLOWS) {
        std::swap(grown->elements()[position], grown->elements()[position + 1]);
        ++position;
      }
    }
    ids = grown;
    if (cursor != -1 && position <= cursor) ++cursor;
  } catch (RecordStoreException* e) {
    VMPtr<RecordStoreException> ignored(e);  // the id is left out, as when it does not match
  }
}

void RecordEnumerationImpl::removeId(int32_t recordId) {
  VMPtr<Ids> old(ids);
  int32_t index = -1;
  for (int32_t i = old->length - 1; i >= 0; --i) {
    if (old->elements()[i] == recordId) {
      index = i;
      break;
    }
  }
  if (index < 0) return;
  VMPtr<Ids> shrunk = Ids::create(old->length - 1);
  for (int32_t i = 0, k = 0; i < old->length; ++i) {
    if (i != index) shrunk->elements()[k++] = old->elements()[i];
  }
  ids = shrunk;
  if (cursor != -1 && index <= cursor) --cursor;
}

void RecordEnumerationImpl::recordAdded(VMPtr<RecordStore>, int32_t recordId) {
  VMSynchronized guard(this);
  checkAlive();
  filterAdd(recordId);
}

void RecordEnumerationImpl::recordChanged(VMPtr<RecordStore>, int32_t recordId) {
  VMSynchronized guard(this);
  checkAlive();
  removeId(recordId);
  filterAdd(recordId);
}

void RecordEnumerationImpl::recordDeleted(VMPtr<RecordStore>, int32_t recordId) {
  VMSynchronized guard(this);
  checkAlive();
  removeId(recordId);
}

}  // namespace javax::microedition::rms
