// Numbered records over record stores: record n is the store named by the
// decimal text of n, its bytes cut into MIDP records of 4096 bytes.
#include <algorithm>
#include <cstdint>

#include "VMThrow.h"
#include "java_lang_Exception.h"
#include "java_lang_Integer.h"
#include "java_lang_NumberFormatException.h"
#include "java_lang_String.h"
#include "javax_microedition_rms_RecordStore.h"
#include "tq_TqCanvas.h"

namespace tq {

using java::lang::Exception;
using java::lang::String;
using javax::microedition::rms::RecordStore;
using Bytes = VMArray<int8_t>;

namespace {

constexpr int32_t kPiece = 4096;

int32_t piecesOf(const VMPtr<Bytes>& data) { return (data->length + kPiece - 1) / kPiece; }

void closeQuietly(const VMPtr<RecordStore>& rs) {
  if (!rs) return;
  try {
    rs->closeRecordStore();
  } catch (Exception* e) {
    VMPtr<Exception> dropped(e);
  }
}

// Records 1 .. count of the store, back to back.
VMPtr<Bytes> readAll(const VMPtr<RecordStore>& rs) {
  const int32_t count = rs->getNumRecords();
  int64_t total = 0;
  for (int32_t i = 1; i <= count; ++i) total += rs->getRecordSize(i);
  VMPtr<Bytes> buffer = Bytes::create(static_cast<int32_t>(total));
  int32_t offset = 0;
  for (int32_t i = 1; i <= count; ++i) offset += rs->getRecord(i, buffer, offset);
  return buffer;
}

void deleteIfListed(const VMPtr<String>& name) {
  VMPtr<VMArray<String>> names = RecordStore::listRecordStores();
  if (!names) return;
  for (int32_t i = 0; i < names->length; ++i) {
    if (names->get(i)->equals(name)) {
      RecordStore::deleteRecordStore(name);
      return;
    }
  }
}

// Opens (creating) the store and adds the pieces; throws on failure.
void addPieces(const VMPtr<String>& name, const VMPtr<Bytes>& data) {
  VMPtr<RecordStore> rs = RecordStore::openRecordStore(name, 1);
  try {
    for (int32_t offset = 0; offset < data->length; offset += kPiece) {
      rs->addRecord(data, offset, std::min(data->length - offset, kPiece));
    }
  } catch (Exception* e) {
    VMPtr<Exception> thrown(e);
    closeQuietly(rs);
    _VM_throw(thrown);
  }
  closeQuietly(rs);
}

// Replaces records 1 .. pieces one by one when the store holds exactly
// those; false, with nothing changed, when it does not.
bool replaceInPlace(const VMPtr<String>& name, const VMPtr<Bytes>& data) {
  VMPtr<RecordStore> rs;
  bool replaced = false;
  try {
    rs = RecordStore::openRecordStore(name, 0);
    const int32_t pieces = piecesOf(data);
    if (rs->getNumRecords() == pieces) {
      for (int32_t i = 1; i <= pieces; ++i) rs->getRecordSize(i);
      for (int32_t i = 1; i <= pieces; ++i) {
        const int32_t offset = (i - 1) * kPiece;
        rs->setRecord(i, data, offset, std::min(data->length - offset, kPiece));
      }
      replaced = true;
    }
  } catch (Exception* e) {
    VMPtr<Exception> thrown(e);
    closeQuietly(rs);
    // A failure before any change leaves nothing to undo; a failure in a
    // later piece is undone by the caller.
    _VM_throw(thrown);
  }
  closeQuietly(rs);
  return replaced;
}

// True when `found` holds exactly the bytes of `expected`.
bool sameBytes(const VMPtr<Bytes>& found, const VMPtr<Bytes>& expected) {
  if (!found || found->length != expected->length) return false;
  return std::equal(expected->elements(), expected->elements() + expected->length, found->elements());
}

}  // namespace

VMPtr<Bytes> TqCanvas::readRecord(int32_t n) {
  VMPtr<RecordStore> rs;
  VMPtr<Bytes> result;
  try {
    rs = RecordStore::openRecordStore(String::valueOf(n), 0);
    result = readAll(rs);
  } catch (Exception* e) {
    VMPtr<Exception> dropped(e);
    result = nullptr;
  }
  closeQuietly(rs);
  return result;
}

uint8_t TqCanvas::writeRecord(int32_t n, VMPtr<Bytes> data) {
  const VMPtr<String> name = String::valueOf(n);
  // The bytes saved before, written back when the save fails.
  const VMPtr<Bytes> old = data ? readRecord(n) : VMPtr<Bytes>();
  try {
    if (old && replaceInPlace(name, data)) return 1;
  } catch (Exception* e) {
    VMPtr<Exception> dropped(e);
    try {
      replaceInPlace(name, old);
    } catch (Exception* again) {
      VMPtr<Exception> ignored(again);
    }
    return 0;
  }
  try {
    deleteIfListed(name);
    if (data) addPieces(name, data);
    // A store the disk left half deleted can take the new pieces beside
    // its old ones without a complaint: only bytes read back count.
    const VMPtr<Bytes> saved = readRecord(n);
    if (data ? sameBytes(saved, data) : !saved) return 1;
  } catch (Exception* e) {
    VMPtr<Exception> dropped(e);
  }
  try {
    deleteIfListed(name);
    if (old) addPieces(name, old);
  } catch (Exception* e) {
    VMPtr<Exception> dropped(e);
  }
  return 0;
}

void TqCanvas::deleteRecord(int32_t n) { writeRecord(n, VMPtr<Bytes>()); }

uint8_t TqCanvas::deleteAllRecords() {
  try {
    VMPtr<VMArray<String>> names = RecordStore::listRecordStores();
    for (int32_t i = 0; names && i < names->length; ++i) {
      VMPtr<String> name = names->get(i);
      try {
        java::lang::Integer::parseInt(name);
      } catch (java::lang::NumberFormatException* e) {
        VMPtr<java::lang::NumberFormatException> notANumber(e);
        continue;
      }
      RecordStore::deleteRecordStore(name);
    }
  } catch (Exception* e) {
    VMPtr<Exception> dropped(e);
    return 0;
  }
  return 1;
}

}  // namespace tq
