// Frame pacing: the time source, sleeping, the frame-time settings and the
// per-frame wait.
#include <algorithm>
#include <atomic>

#include "VMThread.h"
#include "java_lang_InterruptedException.h"
#include "java_lang_System.h"
#include "tq_TqCanvas.h"

namespace tq {

namespace {

int64_t systemTime() { return java::lang::System::currentTimeMillis(); }

// Long sleeps first let waiting threads in; an interrupt only ends the
// sleep early.
void threadSleep(int32_t ms) {
  if (ms >= 50) VMThread::yield();
  try {
    java::lang::Thread::sleep(ms);
  } catch (java::lang::InterruptedException* e) {
    VMPtr<java::lang::InterruptedException> ignored(e);
  }
}

constexpr TqCanvas::TimeSource kSystemTime{systemTime, threadSleep};
// Tests install their clock while the canvas thread may read it.
std::atomic<const TqCanvas::TimeSource*> currentSource{&kSystemTime};

// The debt owed to the frame period stays within these between frames; one
// frame adds at most kShortfallLimit; a debt above kSleepThreshold is paid
// back an eighth at a time.
constexpr int32_t kDebtLimit = 500;
constexpr int32_t kShortfallLimit = 250;
constexpr int32_t kSleepThreshold = 40;

}  // namespace

void TqCanvas::setTimeSource(const TimeSource* source) { currentSource.store(source ? source : &kSystemTime); }

int64_t TqCanvas::getTimeMillis() { return currentSource.load()->now(); }

void TqCanvas::sleep(int32_t ms) {
  if (ms > 0) currentSource.load()->sleep(ms);
}

void TqCanvas::setFrameTime(int32_t ms) {
  frameTime = ms;
  updateFrameLimits();
}

void TqCanvas::setMaxFrameTime(int32_t ms) {
  maxFrameTime = ms;
  updateFrameLimits();
}

void TqCanvas::updateFrameLimits() {
  framePeriod = std::max(std::min(frameTime, maxFrameTime), 0);
  frameCap = std::max(std::max(frameTime, maxFrameTime), 1);
}

int32_t TqCanvas::getFrameDuration() { return frameDuration; }

void TqCanvas::restartTiming() {
  resetTiming = 1;
  frameDuration = framePeriod;
}

void TqCanvas::waitFrame() {
  int64_t now = getTimeMillis();
  if (resetTiming) {
    frameDuration = framePeriod;
    resetTiming = 0;
    sleepDebt = 0;
  } else {
    const int32_t elapsed = static_cast<int32_t>(now - lastFrameTime);
    const int32_t frame = std::max(elapsed, framePeriod);
    const int32_t work = std::max(elapsed, 0);
    const int32_t shortfall = std::clamp(frame - work, -kShortfallLimit, kShortfallLimit);
    sleepDebt = std::clamp(sleepDebt + shortfall, -kDebtLimit, kDebtLimit);
    if (sleepDebt > kSleepThreshold) {
      sleepDebt += work;
      sleep(sleepDebt / 8);
      now = getTimeMillis();
      sleepDebt -= std::max(static_cast<int32_t>(now - lastFrameTime), 0);
    }
    frameDuration = std::min(frame, frameCap);
  }
  lastFrameTime = now;
}

}  // namespace tq
