#include "NetCanvas.h"

#include "HALCallbacks.h"
#include "HALEvents.h"
#include "JavaTask.h"
#include "VMCollector.h"
#include "VMTestEnv.h"
#include "java_lang_Thread.h"
#include "javax_microedition_lcdui_Display.h"

VM_REGISTER_CLASS(net_test::NetCanvas, "net_test.NetCanvas", "tq.TqCanvas", 0);
VM_REGISTER_CLASS(net_test::NetMIDlet, "net_test.NetMIDlet", "javax.microedition.midlet.MIDlet", 0);
VM_REGISTER_CLASS(net_test::CountingMedia, "net_test.CountingMedia", "java.lang.Object", 0);
VM_IMPLEMENTS(net_test::CountingMedia, "tq.MediaManager");

namespace net_test {

VMPtr<NetCanvas> NetCanvas::_VM_init(VMPtr<MIDlet> owner) {
  Base::_VM_init(owner);
  return VMPtr<NetCanvas>(this);
}

void NetCanvas::tick() {
  ++ticks;
  tickThread = std::this_thread::get_id();
  if (onTick) onTick();
}

void NetCanvas::onNetworkResult(int32_t status, VMPtr<VMArray<int8_t>> data) {
  std::optional<std::string> bytes;
  if (data) bytes = std::string(reinterpret_cast<const char*>(data->elements()), static_cast<size_t>(data->length));
  results.push_back({status, bytes, std::this_thread::get_id()});
}

void NetCanvas::onSocketData(VMPtr<VMArray<int8_t>> data, int32_t count) {
  socketCounts.push_back(count);
  socketBytes.append(reinterpret_cast<const char*>(data->elements()), static_cast<size_t>(count));
  if (onSocket) onSocket();
}

void NetCanvas::onAppEvent(int32_t code) {
  appEvents.push_back(code);
  TqCanvas::onAppEvent(code);
}

void startNetVM() {
  static bool started = false;
  VMTestEnv::start();
  if (started) return;
  started = true;
  VMCallbacks table = *HAL_getVMCallbacks();
  table.broadcastEvent = HAL_broadcastEvent;
  HAL_setVMCallbacks(&table);
  HAL_createEventRegistry();
  javax::microedition::lcdui::Display::getDisplay(nullptr);
}

VMPtr<NetCanvas> makeNetCanvas() {
  VMPtr<NetMIDlet> owner = NetMIDlet::_VM_new();
  owner->_VM_init();
  VMPtr<NetCanvas> canvas = NetCanvas::_VM_new();
  canvas->_VM_init(owner);
  return canvas;
}

void showNetCanvas(const VMPtr<NetCanvas>& canvas) {
  javax::microedition::lcdui::Display::getDisplay(nullptr)->setCurrent(canvas);
}

bool finishNetCanvas(NetCanvas* canvas) {
  canvas->cancelHttpRequest();
  canvas->closeSocket();
  canvas->socketSession = nullptr;
  canvas->requestState(3);
  for (int i = 0; i < 2000 && java_test::countThreadRecords() > 1; ++i) {
    _VM_collect();
    java::lang::Thread::sleep(5);
  }
  return java_test::countThreadRecords() == 1;
}

bool waitUntil(const std::function<bool()>& done, int32_t millis) {
  for (int32_t waited = 0; waited < millis; waited += 2) {
    if (done()) return true;
    java::lang::Thread::sleep(2);
  }
  return done();
}

}  // namespace net_test
