#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"

namespace javax::microedition::rms {

// A walk in both directions over the ids of a record store's records.
class RecordEnumeration : public virtual java::lang::Object {
  VM_INTERFACE_CLASS(RecordEnumeration)

 public:
  virtual int32_t numRecords() = 0;
  virtual VMPtr<VMArray<int8_t>> nextRecord() = 0;
  virtual int32_t nextRecordId() = 0;
  virtual VMPtr<VMArray<int8_t>> previousRecord() = 0;
  virtual int32_t previousRecordId() = 0;
  virtual uint8_t hasNextElement() = 0;
  virtual uint8_t hasPreviousElement() = 0;
  virtual void reset() = 0;
  virtual void rebuild() = 0;
  virtual void keepUpdated(uint8_t keepUpdated) = 0;
  virtual uint8_t isKeptUpdated() = 0;
  virtual void destroy() = 0;
};

}  // namespace javax::microedition::rms
