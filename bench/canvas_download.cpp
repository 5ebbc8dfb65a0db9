// The frame period of a shown canvas paced at 40 ms, side by side:
//
//   Idle:        nothing else runs.
//   Downloading: the canvas's HTTP session downloads 1 MiB from a server
//                on 127.0.0.1 all the while (a new request as soon as the
//                last one has been delivered).
//
// One iteration is one frame (wall time), so the two times should match:
// a background transfer must not cost the game its frame rate. The
// "downloads" counter says how many transfers finished during the run.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "FakeHttpConnection.h"
#include "LoopbackServer.h"
#include "NetCanvas.h"
#include "VMArray.h"
#include "java_lang_Thread.h"

namespace {

using net_test::NetCanvas;

constexpr size_t kBody = 1 << 20;

struct Setup {
  Setup()
      : server(false, [](const http_test::ServedRequest&, http_test::ServerConnection& c) {
          c.write(http_test::reply("200 OK", {}, std::string(kBody, 'x')));
        }) {
    for (const char* name : {"http_proxy", "HTTP_PROXY", "ALL_PROXY", "all_proxy"}) unsetenv(name);
    net_test::startNetVM();
    canvas = net_test::makeNetCanvas().get();  // the canvas's static `instance` keeps it
    canvas->setFrameTime(40);
    net_test::showNetCanvas(VMPtr<NetCanvas>(canvas));
    net_test::waitUntil([&] { return canvas->ticks > 2; });
  }
  http_test::LoopbackServer server;
  NetCanvas* canvas = nullptr;
};

Setup& setup() {
  static Setup s;
  return s;
}

void waitOneFrame(NetCanvas* canvas) {
  const int32_t start = canvas->ticks;
  while (canvas->ticks == start) java::lang::Thread::sleep(1);
}

void Idle(benchmark::State& state) {
  NetCanvas* canvas = setup().canvas;
  for (auto _ : state) waitOneFrame(canvas);
}

void Downloading(benchmark::State& state) {
  Setup& s = setup();
  NetCanvas* canvas = s.canvas;
  const VMPtr<java::lang::String> url = net_test::jstring(s.server.url("/file"));
  int64_t downloads = 0;
  canvas->results.clear();
  canvas->startHttpRequest(url, nullptr);
  for (auto _ : state) {
    waitOneFrame(canvas);
    if (!canvas->results.empty()) {
      if (canvas->results[0].status != 200 || !canvas->results[0].data || canvas->results[0].data->size() != kBody) {
        state.SkipWithError("a download failed");
        break;
      }
      ++downloads;
      canvas->results.clear();
      canvas->startHttpRequest(url, nullptr);
    }
  }
  canvas->cancelHttpRequest();
  state.counters["downloads"] = static_cast<double>(downloads);
}

BENCHMARK(Idle)->Iterations(400)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(Downloading)->Iterations(400)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
