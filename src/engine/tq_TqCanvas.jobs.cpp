// Work handed to the canvas thread: queued jobs and the result of a
// network transfer, both delivered by runJobs between the frame wait and
// the tick.
#include "VMJava.h"
#include "VMSynchronized.h"
#include "tq_TqCanvas.h"

namespace tq {

// Made on first use; the allocation may let another thread in, which may
// have made one meanwhile: that one is kept.
VMPtr<java::util::Vector> TqCanvas::getJobQueue() {
  if (!jobQueue) {
    VMPtr<java::util::Vector> made = java::util::Vector::_VM_new();
    made->_VM_init();
    if (!jobQueue) jobQueue = made;
  }
  return jobQueue;
}

VMPtr<java::lang::Object> TqCanvas::getJobLock() {
  if (!jobLock) {
    VMPtr<java::lang::Object> made = java::lang::Object::_VM_new()->_VM_init();
    if (!jobLock) jobLock = made;
  }
  return jobLock;
}

void TqCanvas::scheduleJob(VMPtr<java::lang::Runnable> job) {
  VMSynchronized lock(getJobLock());
  jobsPending = 1;
  getJobQueue()->addElement(job);
}

void TqCanvas::postNetworkResult(int32_t status, VMPtr<VMArray<int8_t>> data) {
  VMSynchronized lock(getJobLock());
  resultPending = 1;
  resultStatus = status;
  resultData = data && data->length > 0 ? data : nullptr;
}

void TqCanvas::networkTransferComplete(int32_t status, VMPtr<VMArray<int8_t>> data) {
  _VM_clinitCheck();
  VMPtr<TqCanvas> canvas = instance;
  if (canvas) canvas->postNetworkResult(status, data);
}

void TqCanvas::cancelNetworkResult() {
  VMSynchronized lock(getJobLock());
  resultData = nullptr;
  resultPending = 0;
}

void TqCanvas::runJobs() {
  if (!resultPending && !jobsPending) return;
  VMSynchronized lock(getJobLock());
  if (resultPending) {
    // Taken before the hook runs, so that a result the hook posts itself
    // waits for the next frame instead of being dropped.
    resultPending = 0;
    VMPtr<VMArray<int8_t>> data = resultData;
    resultData = nullptr;
    onNetworkResult(resultStatus, data);
  }
  if (jobsPending && jobQueue) {
    VMPtr<java::util::Vector> queue = jobQueue;
    while (!queue->isEmpty()) {
      VMPtr<java::lang::Runnable> job = _VM_cast<java::lang::Runnable>(queue->elementAt(0));
      queue->removeElementAt(0);
      job->run();
    }
    jobsPending = 0;
  }
}

}  // namespace tq
