#pragma once

#include <cstdint>

#include "VMClassKit.h"

namespace javax::microedition::rms {

class RecordStore;

// Told of every change to a record store it was added to, on the thread
// that made the change.
class RecordListener : public virtual java::lang::Object {
  VM_INTERFACE_CLASS(RecordListener)

 public:
  virtual void recordAdded(VMPtr<RecordStore> store, int32_t recordId) = 0;
  virtual void recordChanged(VMPtr<RecordStore> store, int32_t recordId) = 0;
  virtual void recordDeleted(VMPtr<RecordStore> store, int32_t recordId) = 0;
};

}  // namespace javax::microedition::rms
