#pragma once

// A canvas for the network tests: it counts its ticks, records every
// network result and socket piece with the thread it came on, and carries
// a media manager that only counts stops. Also the VM set-up these tests
// share (a test VM whose display works, as the display tests have it).

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "VMClassKit.h"
#include "javax_microedition_midlet_MIDlet.h"
#include "tq_MediaManager.h"
#include "tq_TqCanvas.h"

namespace net_test {

struct NetResult {
  int32_t status;
  std::optional<std::string> data;  // nullopt for null
  std::thread::id thread;
};

class NetCanvas : public tq::TqCanvas {
  VM_CLASS(NetCanvas, tq::TqCanvas)

 public:
  VMPtr<NetCanvas> _VM_init(VMPtr<MIDlet> owner);
  void tick() override;
  void paintFrame(VMPtr<Graphics> g) override {}
  void onNetworkResult(int32_t status, VMPtr<VMArray<int8_t>> data) override;
  void onSocketData(VMPtr<VMArray<int8_t>> data, int32_t count) override;
  void onAppEvent(int32_t code) override;

  // Read and written under the global lock.
  std::vector<NetResult> results;
  std::vector<int32_t> socketCounts;
  std::string socketBytes;
  std::vector<int32_t> appEvents;
  int32_t ticks = 0;
  std::thread::id tickThread;
  std::function<void()> onTick;
  // Called in onSocketData (for a hook that fails).
  std::function<void()> onSocket;
};

class NetMIDlet : public javax::microedition::midlet::MIDlet {
  VM_CLASS(NetMIDlet, javax::microedition::midlet::MIDlet)

 public:
  VMPtr<NetMIDlet> _VM_init() {
    Base::_VM_init();
    return VMPtr<NetMIDlet>(this);
  }
  void startApp() override {}
  void pauseApp() override {}
  void destroyApp(uint8_t) override {}
};

// Counts stop(-1) calls; every other operation does nothing.
class CountingMedia : public virtual java::lang::Object, public virtual tq::MediaManager {
  VM_CLASS(CountingMedia, java::lang::Object)

 public:
  VMPtr<CountingMedia> _VM_init() {
    Object::_VM_init();
    return VMPtr<CountingMedia>(this);
  }
  void prepare() override {}
  uint8_t isLoaded(int32_t) override { return 0; }
  uint8_t isSoundEnabled() override { return 1; }
  void stop(int32_t channel) override { stops.push_back(channel); }
  int32_t getTime(int32_t, int32_t) override { return 0; }
  int32_t getTime(int32_t) override { return 0; }
  void setSoundEnabled(uint8_t) override {}
  void release(int32_t) override {}
  void load(int32_t, VMPtr<VMArray<int8_t>>, int32_t, int32_t, int32_t) override {}
  void load(int32_t, int32_t, int32_t, VMPtr<java::lang::String>, int32_t, int32_t) override {}
  void load(int32_t, int32_t, int32_t, int32_t) override {}
  void play(int32_t, int32_t) override {}
  int32_t getChannelCount() override { return 0; }
  void setVolume(int32_t, int32_t) override {}
  int32_t getVolume(int32_t) override { return 0; }
  void close() override {}
  int32_t getDuration(int32_t) override { return 0; }
  uint8_t isPlaying(int32_t) override { return 0; }
  int32_t loadVideo(int32_t) override { return 0; }
  int32_t playVideo(int32_t) override { return 0; }
  int32_t getVideoCount() override { return 0; }
  int32_t stopVideo(int32_t) override { return 0; }
  int32_t getVideoTime(int32_t) override { return 0; }
  VMPtr<VMArray<int8_t>> getVideoFrame() override { return nullptr; }
  int32_t getVideoDuration() override { return 0; }
  int32_t getVideoChannel(int32_t) override { return 0; }
  int32_t getVideoState(int32_t) override { return 0; }
  int32_t getVideoVolume(int32_t) override { return 0; }
  int32_t setVideoPosition(int32_t) override { return 0; }
  void setVideoVisible() override {}
  int32_t setVideoSize(int32_t) override { return 0; }

  std::vector<int32_t> stops;
};

// The test VM with the platform's event registry and display, once per
// process.
void startNetVM();
// A new canvas with a MIDlet of its own; its thread waits to be shown.
VMPtr<NetCanvas> makeNetCanvas();
// Shows the canvas: its thread starts ticking.
void showNetCanvas(const VMPtr<NetCanvas>& canvas);
// Drops the canvas's sessions, quits it, and collects until every thread
// but the main one has ended and been joined; false when one is still
// left after about 10 s.
bool finishNetCanvas(NetCanvas* canvas);
// Sleeps (letting Java threads run) until `done` holds; false after
// `millis` ms.
bool waitUntil(const std::function<bool()>& done, int32_t millis = 10000);

}  // namespace net_test
