// Fuzz target: the canvas's HTTP session finding a reply's length and
// reading its body, over a scripted connection whose encoding, header
// fields, length, read pieces and body come from the input. The session
// must end (no hang), hand over a defined status, and deliver either a
// failure without data or a prefix of the body with a matching count.
//
// Input: a flags byte (1 encoding given, 2 header lookups throw, 4 the
// response code throws, 8 reads fail half-way), a status byte (even:
// 200, odd: 404), an available() byte (255: the piece left), then four
// sections separated by NUL: the encoding, header lines "key:value", the
// connection's length in decimal, read piece sizes (one byte each); the
// rest is the body.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "FakeHttpConnection.h"
#include "NetCanvas.h"
#include "VMTestEnv.h"
#include "java_lang_System.h"
#include "tq_TqCanvas.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

// The next NUL-ended section of `rest`, taken off its front.
std::string take(std::string_view& rest) {
  const size_t end = rest.find('\0');
  std::string out(rest.substr(0, end));
  rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  return out;
}

net_test::FakeHttpScript scriptOf(std::string_view input) {
  net_test::FakeHttpScript s;
  const uint8_t flags = static_cast<uint8_t>(input[0]);
  s.responseCode = (static_cast<uint8_t>(input[1]) & 1) ? 404 : 200;
  s.available = static_cast<uint8_t>(input[2]) == 255 ? -1 : static_cast<uint8_t>(input[2]);
  s.lookupsThrow = flags & 2;
  s.responseCodeThrows = flags & 4;
  std::string_view rest = input.substr(3);
  const std::string encoding = take(rest);
  if (flags & 1) s.encoding = encoding;
  const std::string lines = take(rest);
  for (size_t at = 0; at <= lines.size();) {
    size_t end = lines.find('\n', at);
    if (end == std::string::npos) end = lines.size();
    const std::string line = lines.substr(at, end - at);
    const size_t colon = line.find(':');
    if (colon != std::string::npos) s.headers.emplace_back(line.substr(0, colon), line.substr(colon + 1));
    at = end + 1;
  }
  s.length = std::strtoll(take(rest).c_str(), nullptr, 10);
  for (char c : take(rest)) s.pieces.push_back(static_cast<uint8_t>(c));
  s.body = std::string(rest);
  if (flags & 8) s.failAt = static_cast<int32_t>(s.body.size() / 2);
  return s;
}

void noSleep(int32_t) {}
int64_t fixedTime() { return 0; }

net_test::NetCanvas* setUp() {
  VMTestEnv::start(16u << 20, 16u << 20);
  net_test::startNetVM();
  static const tq::TqCanvas::TimeSource source{fixedTime, noSleep};
  tq::TqCanvas::setTimeSource(&source);
  return net_test::makeNetCanvas().get();  // the canvas's static `instance` keeps it
}

void runOne(net_test::NetCanvas* canvas, const uint8_t* data, size_t size) {
  const net_test::FakeHttpScript script = scriptOf(std::string_view(reinterpret_cast<const char*>(data), size));
  net_test::FakeHttpScript::current() = script;

  VMPtr<tq::TqCanvas_TQC_NetworkSession> session = tq::TqCanvas_TQC_NetworkSession::_VM_new();
  session->_VM_init();
  canvas->httpSession = session;
  session->canvas = VMPtr<tq::TqCanvas>(canvas);
  session->url = net_test::jstring("fakehttp://host/");
  session->run();

  check(canvas->resultPending);
  const int32_t status = canvas->resultStatus;
  VMPtr<VMArray<int8_t>> got = canvas->resultData;
  canvas->cancelHttpRequest();
  check(net_test::FakeHttpLog::last().closes == 1);
  check(!session->input && !session->connection);
  if (session->bytesReceived < 0) {
    check(!got);
    check(status == -11 || status == -12 || status == 404);
    return;
  }
  check(status == script.responseCode && !script.responseCodeThrows);
  const size_t n = got ? static_cast<size_t>(got->length) : 0;
  check(n == static_cast<size_t>(session->bytesReceived));
  check(n <= script.body.size());
  check(n == 0 || script.body.compare(0, n, reinterpret_cast<const char*>(got->elements()), n) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static net_test::NetCanvas* canvas = setUp();
  if (size < 3) return 0;
  runOne(canvas, data, size);
  // The input's objects are garbage now: collected, they are no leak.
  java::lang::System::gc();
  return 0;
}
