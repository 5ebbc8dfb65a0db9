#include "javax_microedition_rms_RecordStore.h"

#include <string>
#include <vector>

#include "HALRecordStore.h"
#include "VMServices.h"
#include "VMSynchronized.h"
#include "VMThrow.h"
#include "java_lang_ArrayIndexOutOfBoundsException.h"
#include "java_lang_IllegalArgumentException.h"
#include "java_lang_NullPointerException.h"
#include "javax_microedition_rms_InvalidRecordIDException.h"
#include "javax_microedition_rms_RecordEnumerationImpl.h"
#include "javax_microedition_rms_RecordListener.h"
#include "javax_microedition_rms_RecordStoreException.h"
#include "javax_microedition_rms_RecordStoreNotFoundException.h"
#include "javax_microedition_rms_RecordStoreNotOpenException.h"

VM_REGISTER_CLASS(javax::microedition::rms::RecordStore, "javax.microedition.rms.RecordStore", "java.lang.Object", 0);

namespace javax::microedition::rms {

static_assert(RecordStore::kMaxNameLength == HAL_MAX_RECORD_STORE_NAME);

namespace {

using java::lang::String;

// A name the store folder can be made from: 1 to 32 characters that stay
// inside the database folder.
void checkName(String* name) {
  const int32_t n = name->count;
  if (n < 1 || n > RecordStore::kMaxNameLength) _VM_throwNew<java::lang::IllegalArgumentException>();
  const char16_t* c = name->_VM_chars();
  for (int32_t i = 0; i < n; ++i) {
    const char16_t ch = c[i];
    const bool high = ch >= 0xd800 && ch <= 0xdbff;
    const bool low = ch >= 0xdc00 && ch <= 0xdfff;
    if (ch < 0x20 || ch == 0x7f || ch == u'/' || ch == u'\\' || low ||
        (high && (i + 1 >= n || c[i + 1] < 0xdc00 || c[i + 1] > 0xdfff))) {
      _VM_throwNew<java::lang::IllegalArgumentException>();
    }
    if (high) ++i;
  }
  if ((n == 1 && c[0] == u'.') || (n == 2 && c[0] == u'.' && c[1] == u'.')) {
    _VM_throwNew<java::lang::IllegalArgumentException>();
  }
}

// The exception for a failed record operation: not found means no such
// record.
[[noreturn]] void throwRecordFailure(HALStatus status) {
  if (status == HAL_NOT_FOUND_ERR) _VM_throwNew<InvalidRecordIDException>();
  _VM_throwNew<RecordStoreException>();
}

// offset and numBytes select a slice of data (when there is data).
void checkSlice(RecordStore::Bytes* data, int32_t offset, int32_t numBytes) {
  if (offset < 0 || numBytes < 0 || (data != nullptr && offset > data->length - numBytes)) {
    _VM_throwNew<java::lang::ArrayIndexOutOfBoundsException>();
  }
}

int32_t storeWord(HALStatus (*get)(HALRecordStore*, int32_t*), HALRecordStore* handle, const char* failure) {
  int32_t value = 0;
  if (get(handle, &value) != HAL_OK) _VM_fatalError(failure);
  return value;
}

}  // namespace

VMPtr<RecordStore> RecordStore::openRecordStore(VMPtr<String> recordStoreName, uint8_t createIfNecessary) {
  if (!recordStoreName) _VM_throwNullPointerException();
  checkName(recordStoreName.get());
  HALRecordStore* handle = nullptr;
  const HALStatus status = HAL_openRecordStore(&handle, recordStoreName->_VM_chars(), recordStoreName->count,
                                               createIfNecessary ? 1 : 0);
  if (status == HAL_NOT_FOUND_ERR) _VM_throwNew<RecordStoreNotFoundException>();
  if (status != HAL_OK) _VM_throwNew<RecordStoreException>();
  // The handle belongs to the new object as soon as it exists; until then a
  // failed allocation must not leak it.
  struct HandleGuard {
    HALRecordStore* handle;
    ~HandleGuard() {
      if (handle != nullptr) HAL_closeRecordStore(handle);
    }
  } guard{handle};
  VMPtr<RecordStore> store = _VM_new();
  guard.handle = nullptr;
  return store->_VM_init(recordStoreName, handle);
}

VMPtr<RecordStore> RecordStore::_VM_init(VMPtr<String> name, HALRecordStore* handle) {
  Object::_VM_init();
  this->handle = handle;
  this->name = name;
  VMPtr<java::util::Vector> list = java::util::Vector::_VM_new();
  list->_VM_init(3);
  listeners = list;
  return VMPtr<RecordStore>(this);
}

void RecordStore::deleteRecordStore(VMPtr<String> recordStoreName) {
  if (!recordStoreName) _VM_throwNullPointerException();
  // No store has an empty name or one longer than a store name can be.
  const int32_t length = recordStoreName->count;
  if (length < 1 || length > kMaxNameLength) _VM_throwNew<RecordStoreNotFoundException>();
  checkName(recordStoreName.get());
  const HALStatus status = HAL_deleteRecordStore(recordStoreName->_VM_chars(), recordStoreName->count);
  if (status == HAL_NOT_FOUND_ERR) _VM_throwNew<RecordStoreNotFoundException>();
  if (status != HAL_OK) _VM_throwNew<RecordStoreException>();
}

VMPtr<VMArray<String>> RecordStore::listRecordStores() {
  // Every name is read before anything is allocated: an allocation may let
  // another thread create or delete a store between the count and the
  // names. A store that another program deleted since the count ends the
  // list early.
  std::vector<std::u16string> found;
  const int32_t n = HAL_getNumRecordStores();
  for (int32_t i = 0; i < n; ++i) {
    char16_t buffer[kMaxNameLength];
    int32_t length = 0;
    if (HAL_getNthRecordStoreName(i + 1, buffer, kMaxNameLength, &length) != HAL_OK) break;
    found.emplace_back(buffer, static_cast<size_t>(length));
  }
  if (found.empty()) return VMPtr<VMArray<String>>();
  VMPtr<VMArray<String>> names = VMArray<String>::create(static_cast<int32_t>(found.size()));
  for (size_t i = 0; i < found.size(); ++i) {
    const std::u16string& name = found[i];
    names->set(static_cast<int32_t>(i), String::_VM_fromUTF16(name.data(), static_cast<int32_t>(name.size())));
  }
  return names;
}

RecordStore::~RecordStore() {
  if (handle != nullptr) HAL_closeRecordStore(handle);
  handle = nullptr;
}

void RecordStore::_VM_markReferences(int colour) {
  _VM_mark(name, colour);
  _VM_mark(listeners, colour);
  Object::_VM_markReferences(colour);
}

void RecordStore::checkOpen() {
  if (handle == nullptr) _VM_throwNew<RecordStoreNotOpenException>();
}

void RecordStore::closeRecordStore() {
  checkOpen();
  HALRecordStore* h = handle;
  handle = nullptr;
  HAL_closeRecordStore(h);
}

VMPtr<String> RecordStore::getName() {
  checkOpen();
  return VMPtr<String>(name);
}

int32_t RecordStore::getVersion() {
  checkOpen();
  return storeWord(HAL_getRecordStoreVersion, handle, "HAL_getRecordStoreVersion() failed in getVersion!");
}

int32_t RecordStore::getNumRecords() {
  checkOpen();
  return storeWord(HAL_getNumRecords, handle, "HAL_getNumRecords() failed in getNumRecords!");
}

int32_t RecordStore::getSize() {
  checkOpen();
  return storeWord(HAL_getRecordStoreSize, handle, "HAL_getRecordStoreSize() failed in getSize!");
}

int32_t RecordStore::getSizeAvailable() {
  checkOpen();
  return storeWord(HAL_getRecordStoreSizeAvailable, handle,
                   "HAL_getRecordStoreSizeAvailable() failed in getSizeAvailable!");
}

int64_t RecordStore::getLastModified() {
  checkOpen();
  int64_t value = 0;
  if (HAL_getRecordStoreLastModified(handle, &value) != HAL_OK) {
    _VM_fatalError("HAL_getRecordStoreLastModified() failed in getLastModified!");
  }
  return value;
}

int32_t RecordStore::getNextRecordID() {
  checkOpen();
  return storeWord(HAL_getNextRecordID, handle, "HAL_getNextRecordID() failed in getNextRecordID!");
}

void RecordStore::addRecordListener(VMPtr<RecordListener> listener) {
  VMPtr<java::util::Vector> list(listeners);
  VMSynchronized guard(list);
  if (!list->contains(listener)) list->addElement(listener);
}

void RecordStore::removeRecordListener(VMPtr<RecordListener> listener) {
  VMPtr<java::util::Vector> list(listeners);
  VMSynchronized guard(list);
  list->removeElement(listener);
}

void RecordStore::notify(Change change, int32_t recordId) {
  VMPtr<java::util::Vector> list(listeners);
  VMSynchronized guard(list);
  VMPtr<RecordStore> self(this);
  const int32_t n = list->size();
  for (int32_t i = 0; i < n; ++i) {
    // A listener may have removed others meanwhile: the size is checked
    // again rather than read past the end.
    if (i >= list->size()) break;
    VMPtr<java::lang::Object> element = list->elementAt(i);
    auto* listener = dynamic_cast<RecordListener*>(element.get());
    if (listener == nullptr) continue;
    VMPtr<RecordListener> l(listener);
    switch (change) {
      case Change::Added: l->recordAdded(self, recordId); break;
      case Change::Changed: l->recordChanged(self, recordId); break;
      case Change::Deleted: l->recordDeleted(self, recordId); break;
    }
  }
}

int32_t RecordStore::addRecord(VMPtr<Bytes> data, int32_t offset, int32_t numBytes) {
  if (!data && numBytes != 0) _VM_throwNullPointerException();
  checkOpen();
  checkSlice(data.get(), offset, numBytes);
  int32_t id = 0;
  const uint8_t* bytes = data ? reinterpret_cast<const uint8_t*>(data->elements() + offset) : nullptr;
  if (HAL_addRecord(handle, &id, bytes, data ? numBytes : 0) != HAL_OK) _VM_throwNew<RecordStoreException>();
  notify(Change::Added, id);
  return id;
}

void RecordStore::setRecord(int32_t recordId, VMPtr<Bytes> newData, int32_t offset, int32_t numBytes) {
  if (!newData && numBytes != 0) _VM_throwNullPointerException();
  checkOpen();
  checkSlice(newData.get(), offset, numBytes);
  const uint8_t* bytes = newData ? reinterpret_cast<const uint8_t*>(newData->elements() + offset) : nullptr;
  const HALStatus status = HAL_setRecord(handle, recordId, bytes, newData ? numBytes : 0);
  if (status != HAL_OK) throwRecordFailure(status);
  notify(Change::Changed, recordId);
}

void RecordStore::deleteRecord(int32_t recordId) {
  checkOpen();
  const HALStatus status = HAL_deleteRecord(handle, recordId);
  if (status != HAL_OK) throwRecordFailure(status);
  notify(Change::Deleted, recordId);
}

int32_t RecordStore::getRecordSize(int32_t recordId) {
  checkOpen();
  int32_t size = 0;
  const HALStatus status = HAL_getRecordSize(handle, recordId, &size);
  if (status != HAL_OK) throwRecordFailure(status);
  return size;
}

VMPtr<RecordStore::Bytes> RecordStore::getRecord(int32_t recordId) {
  const int32_t size = getRecordSize(recordId);
  VMPtr<Bytes> out = Bytes::create(size);
  // The allocation may have let another thread close this store.
  checkOpen();
  int32_t length = size;
  const HALStatus status = HAL_getRecord(handle, recordId, reinterpret_cast<uint8_t*>(out->elements()), &length);
  if (status == HAL_ILLEGAL_ARGUMENT_ERR) {
    // The record grew since its size was read: read it again.
    return getRecord(recordId);
  }
  if (status != HAL_OK) throwRecordFailure(status);
  if (length != size) {
    VMPtr<Bytes> exact = Bytes::create(length);
    std::copy(out->elements(), out->elements() + length, exact->elements());
    return exact;
  }
  return out;
}

int32_t RecordStore::getRecord(int32_t recordId, VMPtr<Bytes> buffer, int32_t offset) {
  checkOpen();
  if (!buffer) _VM_throwNullPointerException();
  if (offset < 0 || offset > buffer->length) _VM_throwNew<java::lang::ArrayIndexOutOfBoundsException>();
  int32_t length = buffer->length - offset;
  const HALStatus status =
      HAL_getRecord(handle, recordId, reinterpret_cast<uint8_t*>(buffer->elements() + offset), &length);
  if (status == HAL_ILLEGAL_ARGUMENT_ERR) _VM_throwNew<java::lang::ArrayIndexOutOfBoundsException>();
  if (status != HAL_OK) throwRecordFailure(status);
  return length;
}

VMPtr<RecordEnumeration> RecordStore::enumerateRecords(VMPtr<RecordFilter> filter,
                                                       VMPtr<RecordComparator> comparator, uint8_t keepUpdated) {
  checkOpen();
  VMPtr<RecordEnumerationImpl> e = RecordEnumerationImpl::_VM_new();
  e->_VM_init(VMPtr<RecordStore>(this), filter, comparator, keepUpdated);
  return e;
}

uint8_t RecordStore::isOpen() { return handle != nullptr; }

VMPtr<VMArray<int32_t>> RecordStore::getRecordIDs() {
  checkOpen();
  int32_t n = 0;
  if (HAL_getNumRecords(handle, &n) != HAL_OK || n < 0) _VM_throwNew<RecordStoreException>();
  VMPtr<VMArray<int32_t>> ids = VMArray<int32_t>::create(n);
  checkOpen();
  for (int32_t i = 0; i < n; ++i) {
    int32_t id = 0;
    if (HAL_getNthRecordID(handle, i + 1, &id) != HAL_OK) _VM_throwNew<RecordStoreException>();
    ids->elements()[i] = id;
  }
  return ids;
}

}  // namespace javax::microedition::rms
