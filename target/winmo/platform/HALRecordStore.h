#pragma once

#include <cstdint>

#include "HALStatus.h"

// Record stores as plain files beside the program:
//
//   <program directory>/database/                 the database folder
//   <database>/store-<name>/                      one folder per store
//   <store>/record-<id>.bin                       one file per record (its bytes)
//   <store>/metadata.info                         five little-endian 32-bit words:
//       lastModified (low 32 bits of the millisecond clock), version,
//       nextRecordID, size (sum of the lengths of every add), numRecords
//
// Record ids are 1, 2, 3, ... in the order of addition and are never
// reused. Every file is replaced atomically and durably (see CeFiles), the
// record before the metadata that counts it, so a process killed at any
// moment leaves every acknowledged record whole. Opening a store checks the
// metadata against the record files and repairs it: numRecords is the
// number of record files, nextRecordID lies beyond every record file's id,
// and a record whose add was cut short before its metadata was written is
// counted as added. A change that fails part way is undone before its
// status is given (HAL_IO_ERR): the record file, the counters and the
// metadata are as they were, so a retry makes the change once. Deleting a
// store that does not exist succeeds; a deletion whose removal the disk
// refuses (or that finds a folder inside the store) stops there and gives
// HAL_IO_ERR, the store keeping the records not yet removed; a retry
// finishes it.
//
// Every open handle of one store shares one state, so two handles never
// hand out the same id. A store name is 1 to HAL_MAX_RECORD_STORE_NAME
// UTF-16 units and stays inside the database folder: opening a name that is
// longer, holds '/', '\', a control character or a lone surrogate, or is
// "." or "..", is refused with HAL_ILLEGAL_ARGUMENT_ERR; deleting a name
// that is too long finds no store.
//
// Callers hold the global VM lock; the changing operations, open and
// delete-store also hold the store lock (made by HAL_initRecordStores, and
// on first use when it was not).
//
// Status codes: 0 success, 2 bad argument, 4 not found, 7 I/O failure.

struct HALRecordStore;

constexpr int32_t HAL_MAX_RECORD_STORE_NAME = 32;

void HAL_initRecordStores();

HALStatus HAL_openRecordStore(HALRecordStore** out, const char16_t* name, int32_t nameLength, int create);
HALStatus HAL_closeRecordStore(HALRecordStore* store);
HALStatus HAL_deleteRecordStore(const char16_t* name, int32_t nameLength);
// The number of stores: folders "store-<name>" whose name opening would
// accept (any other folder there is no store and is left out).
int32_t HAL_getNumRecordStores();
// The n-th store's name (1-based) without "store-": at most `capacity`
// characters into `name`; a longer name gives HAL_NOT_FOUND_ERR.
HALStatus HAL_getNthRecordStoreName(int32_t n, char16_t* name, int32_t capacity, int32_t* length);

HALStatus HAL_getRecordStoreVersion(HALRecordStore* store, int32_t* out);
HALStatus HAL_getNumRecords(HALRecordStore* store, int32_t* out);
HALStatus HAL_getRecordStoreSize(HALRecordStore* store, int32_t* out);
HALStatus HAL_getNextRecordID(HALRecordStore* store, int32_t* out);
HALStatus HAL_getRecordStoreLastModified(HALRecordStore* store, int64_t* out);
HALStatus HAL_getRecordStoreSizeAvailable(HALRecordStore* store, int32_t* out);

// The n-th record id (1-based) in ascending order; with no record the id
// is left unchanged, beyond the last record the last id is given.
HALStatus HAL_getNthRecordID(HALRecordStore* store, int32_t n, int32_t* id);
HALStatus HAL_getRecordSize(HALRecordStore* store, int32_t id, int32_t* length);
// Copies the record into `buffer` when it fits `*length` bytes and sets
// *length to its size; a longer record copies nothing and gives
// HAL_ILLEGAL_ARGUMENT_ERR.
HALStatus HAL_getRecord(HALRecordStore* store, int32_t id, uint8_t* buffer, int32_t* length);
HALStatus HAL_addRecord(HALRecordStore* store, int32_t* id, const uint8_t* data, int32_t length);
// Replaces an existing record; an id without a record gives HAL_NOT_FOUND_ERR.
HALStatus HAL_setRecord(HALRecordStore* store, int32_t id, const uint8_t* data, int32_t length);
HALStatus HAL_deleteRecord(HALRecordStore* store, int32_t id);
