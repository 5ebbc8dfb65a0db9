// The game driver program (jme_game_app: the program's entry with this
// file added). Its properties name the game's own MIDlet, main.CommonMIDlet,
// which runs unchanged; this file only replaces the clocks and reads
// commands on a thread of its own, so that a test plays the whole game
// frame by frame, the same way every run.
//
// The clock. Before anything reads the time, the canvas's time source, the
// device's wall clock and its tick counter are set to one stepped clock
// (System.currentTimeMillis, the random seed, the pointer filter's times
// and the canvas's frame times all read it). It stands still until the
// driver lets a frame run: the canvas thread, at the sleep of its frame
// pacing, waits at a gate for a step and moves the clock 40 ms on. The
// waits of a paused canvas (hidden, or the delay of a resume) take a step
// each as well. The two frames that follow a restart of the frame timing
// (the start, a pause, a resume) pay back no sleep, so they run without a
// gate, inside the step before them. Once the exit has begun the gate is
// gone and the clocks run on with the real time, so the shutdown never
// waits for a step.
//
// Every command is carried out while the canvas thread waits at the gate:
// game state is read and changed there, on the canvas thread under the
// global lock, between two frames. Input is injected as the phone's window
// messages and waited for until the platform has delivered it to the
// canvas. Commands, one a line, each answered by one line ("ok", the
// probe's line, or "error <why>"):
//   step N       lets N frames run
//   tap X Y      the stylus down at (X, Y) of the screen, a frame, the
//                stylus up (delivered, for the next frame to see)
//   frame PATH   writes the screen buffer as an RGB PNG
//   probe        one line of the game's state (see probeLine)
//   scene ID     the scene manager changes to scene ID
//   pause        the application loses the foreground (the platform's pause)
//   resume       it gains it again
//   close        the window's close button (the program ends with 0); the
//                end of standard input does the same
// "ready" is printed once the first frames have run and the canvas waits at
// its first gate.
#include <png.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <functional>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>

#include "CeHeadlessBackend.h"
#include "DeviceProfile.h"
#include "HALEvents.h"
#include "HALGlobalLock.h"
#include "HALShell.h"
#include "RasterSurface.h"
#include "TestAppDriver.h"
#include "java_lang_InterruptedException.h"
#include "java_lang_Thread.h"
#include "main_Game.h"
#include "main_Main.h"
#include "scene_SceneManager.h"
#include "scene_maingame_InGame.h"
#include "scene_maingame_InGameObject.h"
#include "scene_menu_MenuScene.h"
#include "tq_TqCanvas.h"
#include "ui_Addon.h"
#include "ui_Screen.h"

namespace gamedriver {

namespace {

constexpr int64_t kFrameMs = 40;
// The tick counter's reading at the start, and the wall clock's date then:
// 2026-01-01 00:00:00 UTC.
constexpr int64_t kStartTick = 1000000;
constexpr int64_t kStartEpochSeconds = 1767225600;
// How long the driver waits for the platform to deliver injected input.
constexpr auto kDeliveryTimeout = std::chrono::seconds(5);

void reply(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

// The driver's shared state. Made once and never destroyed: the command
// thread may still wait on it while the process exits.
struct State {
  std::mutex mutex;
  std::condition_variable changed;
  // The stepped clock (milliseconds of the tick counter).
  std::atomic<int64_t> now{kStartTick};
  // Set once the exit has begun or the driver closed the window: no gate.
  std::atomic<bool> released{false};
  // The real time when the clocks were released, for running on.
  std::atomic<int64_t> releasedAt{0};
  // Guarded by `mutex`:
  bool parked = false;     // the canvas thread waits at the gate
  int64_t credits = 0;     // frames the driver has let run
  int64_t gates = 0;       // gates passed
  std::deque<std::function<void()>> jobs;  // run at the gate
  int64_t jobsDone = 0;
  // Deliveries seen by the listener, by event type.
  int64_t delivered[16] = {};
  bool listening = false;
};

State& state() {
  static State* const s = new State();
  return *s;
}

int64_t realMillis() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// Stops the gate for good; the clocks go on with the real time from here.
// Nobody calls it holding the state's mutex.
void release() {
  State& s = state();
  if (s.released) return;
  std::lock_guard<std::mutex> lock(s.mutex);
  if (s.released) return;
  s.releasedAt = realMillis();
  s.released = true;
  s.changed.notify_all();
}

int64_t tickNow() {
  State& s = state();
  if (!s.released && HAL_isExitStarted()) release();
  if (!s.released) return s.now;
  return s.now + (realMillis() - s.releasedAt);
}

// The UTC date and time of seconds since 1970-01-01 (not before it).
DeviceProfile::DateTime dateOf(int64_t epochSeconds) {
  int64_t days = epochSeconds / 86400;
  const int64_t secs = epochSeconds % 86400;
  days += 719468;
  const int64_t era = days / 146097;
  const int64_t doe = days - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int64_t day = doy - (153 * mp + 2) / 5 + 1;
  const int64_t month = mp < 10 ? mp + 3 : mp - 9;
  const int64_t year = yoe + era * 400 + (month <= 2 ? 1 : 0);
  return {static_cast<int32_t>(year), static_cast<int32_t>(month), static_cast<int32_t>(day),
          static_cast<int32_t>(secs / 3600), static_cast<int32_t>(secs / 60 % 60), static_cast<int32_t>(secs % 60)};
}

DeviceProfile::DateTime wallNow() { return dateOf(kStartEpochSeconds + (tickNow() - kStartTick) / 1000); }

int64_t canvasNow() { return tickNow(); }

// The listener after every other one: an event seen here has reached the
// canvas and the MIDlet.
void onDelivered(int type, int, const intptr_t*) {
  State& s = state();
  std::lock_guard<std::mutex> lock(s.mutex);
  if (type >= 0 && type < 16) ++s.delivered[type];
  s.changed.notify_all();
}

bool onCanvasThread() {
  tq::TqCanvas::_VM_clinitCheck();
  VMPtr<java::lang::Thread> canvas = tq::TqCanvas::canvasThread;
  return canvas && java::lang::Thread::currentThread().get() == canvas.get();
}

void realSleep(int32_t ms) {
  try {
    java::lang::Thread::sleep(ms);
  } catch (java::lang::InterruptedException* e) {
    VMPtr<java::lang::InterruptedException> ignored(e);
  }
}

// The canvas thread between two frames, holding the global lock: runs the
// driver's jobs until a step comes, then moves the clock one frame on.
void gate() {
  State& s = state();
  std::unique_lock<std::mutex> lock(s.mutex);
  if (!s.listening) {
    s.listening = true;
    lock.unlock();
    HAL_addEventListener(onDelivered,
                         (1u << HAL_EVENT_PAUSE) | (1u << HAL_EVENT_RESUME) | (1u << HAL_EVENT_POINTER_PRESSED) |
                             (1u << HAL_EVENT_POINTER_RELEASED) | (1u << HAL_EVENT_POINTER_DRAGGED),
                         2);
    reply("ready");
    lock.lock();
  }
  s.parked = true;
  s.changed.notify_all();
  for (;;) {
    if (s.released) break;
    if (!s.jobs.empty()) {
      std::function<void()> job = std::move(s.jobs.front());
      s.jobs.pop_front();
      lock.unlock();
      job();
      lock.lock();
      ++s.jobsDone;
      s.changed.notify_all();
      continue;
    }
    if (s.credits > 0) {
      --s.credits;
      break;
    }
    // Wait without the global lock, so that the main thread delivers input
    // and presents; the exit's start is looked for now and then.
    lock.unlock();
    const int levels = HAL_suspendGlobalLock();
    lock.lock();
    s.changed.wait_for(lock, std::chrono::milliseconds(20),
                       [&] { return s.released || !s.jobs.empty() || s.credits > 0; });
    lock.unlock();
    if (HAL_isExitStarted()) release();
    HAL_resumeGlobalLock(levels);
    lock.lock();
  }
  s.parked = false;
  ++s.gates;
  if (!s.released) s.now += kFrameMs;
  s.changed.notify_all();
}

// The canvas's sleeps: its frame pacing and paused waits pass the gate;
// before the first show and after the release they only let other threads
// run (the released clock moves by the sleep); other threads really sleep.
void steppedSleep(int32_t ms) {
  if (!onCanvasThread()) {
    realSleep(ms);
    return;
  }
  if (state().released) {
    state().now += ms;
    realSleep(1);
    return;
  }
  if (!tq::TqCanvas::started) {
    realSleep(1);
    return;
  }
  gate();
}

const tq::TqCanvas::TimeSource kSteppedTime{canvasNow, steppedSleep};

// Installed before main() runs: nothing has read a clock yet.
struct Install {
  Install() {
    DeviceProfile& profile = DeviceProfile::instance();
    profile.setTickCounter([] { return static_cast<uint64_t>(tickNow()); });
    profile.setWallClock(wallNow);
    profile.setZoneOffset(0);
    tq::TqCanvas::setTimeSource(&kSteppedTime);
    std::thread(readCommands).detach();
  }
  static void readCommands();
};
const Install install;

// --- The command side (the driver's own thread, outside the VM) --------

// Waits until the canvas thread waits at the gate; false once released.
bool waitParked(std::unique_lock<std::mutex>& lock) {
  State& s = state();
  s.changed.wait(lock, [&] { return s.released || (s.parked && s.credits == 0 && s.jobs.empty()); });
  return !s.released;
}

bool step(int64_t frames) {
  State& s = state();
  std::unique_lock<std::mutex> lock(s.mutex);
  if (!waitParked(lock)) return false;
  const int64_t target = s.gates + frames;
  s.credits += frames;
  s.changed.notify_all();
  s.changed.wait(lock, [&] { return s.released || (s.gates >= target && s.parked && s.credits == 0); });
  return !s.released;
}

// Runs `job` on the canvas thread at the gate and waits for it.
bool atGate(std::function<void()> job) {
  State& s = state();
  std::unique_lock<std::mutex> lock(s.mutex);
  if (!waitParked(lock)) return false;
  const int64_t target = s.jobsDone + 1;
  s.jobs.push_back(std::move(job));
  s.changed.notify_all();
  s.changed.wait(lock, [&] { return s.released || s.jobsDone >= target; });
  return !s.released;
}

// Injects input while the canvas waits, and waits for its delivery.
bool deliver(int type, const std::function<void()>& inject) {
  State& s = state();
  std::unique_lock<std::mutex> lock(s.mutex);
  if (!waitParked(lock)) return false;
  const int64_t target = s.delivered[type] + 1;
  lock.unlock();
  inject();
  lock.lock();
  return s.changed.wait_for(lock, kDeliveryTimeout, [&] { return s.released || s.delivered[type] >= target; }) &&
         !s.released;
}

// --- Jobs run at the gate ----------------------------------------------

bool writePng(const std::string& path, const RasterSurface& surface) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  bool ok = false;
  if (info && setjmp(png_jmpbuf(png)) == 0) {
    png_init_io(png, file);
    png_set_IHDR(png, info, surface.width, surface.height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::string row(static_cast<size_t>(surface.width) * 3, '\0');
    for (int y = 0; y < surface.height; ++y) {
      const uint16_t* in = surface.pixels + static_cast<ptrdiff_t>(y) * surface.stride;
      for (int x = 0; x < surface.width; ++x) {
        // RGB 565 widened by repeating the high bits: (v8 >> 3) and
        // (v8 >> 2) give the 565 channels back exactly.
        const uint16_t v = in[x];
        const int r = (v >> 11) & 31, g = (v >> 5) & 63, b = v & 31;
        row[3 * x] = static_cast<char>((r << 3) | (r >> 2));
        row[3 * x + 1] = static_cast<char>((g << 2) | (g >> 4));
        row[3 * x + 2] = static_cast<char>((b << 3) | (b >> 2));
      }
      png_write_row(png, reinterpret_cast<png_const_bytep>(row.data()));
    }
    png_write_end(png, nullptr);
    ok = true;
  }
  png_destroy_write_struct(&png, &info);
  return std::fclose(file) == 0 && ok;
}

std::string frameJob(const std::string& path) {
  tq::TqCanvas::_VM_clinitCheck();
  VMPtr<tq::TqCanvas> canvas = tq::TqCanvas::instance;
  if (!canvas || !canvas->screenBuffer || !canvas->screenBuffer->surface) return "error no screen";
  return writePng(path, *canvas->screenBuffer->surface) ? "ok" : "error cannot write " + path;
}

template <class T>
std::string digits(const VMPtr<VMArray<T>>& a) {
  std::string out;
  for (int32_t i = 0; a && i < a->length; ++i) out += std::to_string(a->at(i));
  return out.empty() ? "-" : out;
}

// Rectangles as "x,y,w,h;..." in screen coordinates.
void appendRect(std::ostringstream& out, int32_t x, int32_t y, int32_t w, int32_t h, bool& first) {
  out << (first ? "" : ";") << x + main::Main::offsetX << ',' << y + main::Main::offsetY << ',' << w << ',' << h;
  first = false;
}

// A box's scroll state, text area and rows: its ids with their touch
// rectangles.
void probeBox(std::ostringstream& out, ui::Addon* box) {
  out << " scroll=" << box->scrollLine << " lines=" << box->lineCount << " visibleLines=" << box->visibleLines
      << " text=";
  bool whole = true;
  appendRect(out, box->textX, box->textY, box->textWidth, box->textHeight, whole);
  out << " items=";
  VMPtr<VMArray<int32_t, 2>> rects = box->getItemRects();
  VMPtr<VMArray<int32_t>> ids = box->ids;
  bool first = true;
  for (int32_t i = 0; rects && ids && i < rects->length && box->firstRow + i < ids->length; ++i) {
    VMPtr<VMArray<int32_t>> r = rects->get(i);
    out << (first ? "" : ";") << ids->at(box->firstRow + i) << '@';
    first = false;
    bool inner = true;
    appendRect(out, r->at(0), r->at(1), r->at(2), r->at(3), inner);
  }
  if (first) out << '-';
}

// The menu page: its box, the page's coordinates, and for the stage board
// and the gallery the boxes of the background's layer 2.
void probeMenu(std::ostringstream& out, scene::menu::MenuScene* menu) {
  out << " page=" << menu->page << " selection=" << menu->selection << " menuTier=" << menu->tier
      << " menuGroup=" << menu->group << " menuStage=" << menu->stage;
  VMPtr<ui::Addon> box = menu->menu;
  if (box) probeBox(out, box.get());
  VMPtr<ui::Screen> screen = menu->screen;
  if (screen && !menu->suspended && (menu->page == 5 || menu->page == 22) && screen->getLayerKind(2) >= 0) {
    const int32_t n = screen->getLayerBoxes(2)->length / 5;
    out << " boxes=";
    bool first = true;
    for (int32_t i = 0; i < n; ++i) {
      VMPtr<tq::graphics::CollisionBox> b = screen->getCollisionBox(2, i);
      appendRect(out, b->x, b->y, b->width, b->height, first);
    }
    if (first) out << '-';
  }
}

// A main object: state, lives, position (its layer 0's, in map pixels),
// dead and hurt.
std::string objectOf(const VMPtr<scene::maingame::InGameObject>& o) {
  if (!o) return "-";
  return std::to_string(o->state) + "," + std::to_string(o->lives) + "," + std::to_string(o->getLayerX(0)) + "," +
         std::to_string(o->getLayerY(0)) + "," + std::to_string(int{o->dead}) + "," + std::to_string(int{o->hurt});
}

// The play scene: its state and sub-step, the tally's timer and skip, the
// views' scroll, the HUD's touch regions (pause, A's jump and drop, B's
// jump and drop: empty ones while the HUD is not built), the awards of the
// level end (count first, then the codes; the tally shows element `count`
// and counts down) and, while its menu shows, the menu's rows.
void probePlayScene(std::ostringstream& out, scene::maingame::InGame* play) {
  out << " playState=" << play->state << " subStep=" << play->subStep << " tallyTimer=" << play->tallyTimer
      << " skip=" << int{play->skipRequested} << " pauseSelection=" << play->pauseSelection;
  VMPtr<VMArray<int32_t>> vx = play->viewX;
  VMPtr<VMArray<int32_t>> vy = play->viewY;
  out << " views=";
  for (int32_t i = 0; vx && vy && i < vx->length && i < vy->length; ++i) {
    out << (i ? ";" : "") << vx->at(i) << ',' << vy->at(i);
  }
  VMPtr<ui::Screen> hud = play->screen;
  out << " regions=";
  if (hud && !play->suspended) {
    static constexpr int32_t kRegions[5][2] = {{3, 5}, {0, 1}, {0, 2}, {1, 3}, {1, 4}};
    bool first = true;
    for (const auto& region : kRegions) {
      if (region[0] < hud->getLayerCount() && hud->getLayerKind(region[0]) >= 0) {
        VMPtr<tq::graphics::CollisionBox> b = hud->getCollisionBox(region[0], region[1]);
        appendRect(out, b->x, b->y, b->width, b->height, first);
      } else {
        appendRect(out, 0, 0, 0, 0, first);
      }
    }
  } else {
    out << '-';
  }
  VMPtr<VMArray<int32_t>> awards = play->unlockList;
  out << " awards=";
  for (int32_t i = 0; awards && i < awards->length; ++i) out << (i ? "," : "") << awards->at(i);
  if (!awards) out << '-';
  VMPtr<scene::maingame::InGame::Barriers> barriers = play->barriers;
  out << " barriers=" << (barriers ? barriers->length : 0);
  VMPtr<ui::Addon> list = play->pauseMenu;
  out << " menuShown=" << (list && list->visible ? 1 : 0);
  if (list && list->visible) probeBox(out, list.get());
}

// The game objects' statics (the items gathered, the main objects: state,
// lives, x, y, dead, hurt) and, in the play scene, its own fields.
void probePlay(std::ostringstream& out, ui::Scene* current) {
  using scene::maingame::InGameObject;
  InGameObject::_VM_clinitCheck();
  out << " gathered=" << InGameObject::gathered;
  out << " objectA=" << objectOf(InGameObject::mainObjectA);
  out << " objectB=" << objectOf(InGameObject::mainObjectB);
  if (auto* play = dynamic_cast<scene::maingame::InGame*>(current)) probePlayScene(out, play);
}

// One line: "probe" and key=value pairs. Always: the clock ("time", the
// tick counter), the frames let run ("frames"), the scene id (-1 none),
// whether it still loads, the controller's switches and the game's
// coordinates and saved arrays (unlocks, progress, best: one digit per
// element); on a menu page its page, items and boxes; the game objects.
std::string probeLine() {
  using main::Game;
  using main::Main;
  State& s = state();
  std::ostringstream out;
  out << "probe time=" << s.now.load();
  {
    std::lock_guard<std::mutex> lock(s.mutex);
    out << " frames=" << s.gates;
  }
  Main::_VM_clinitCheck();
  scene::SceneManager::_VM_clinitCheck();
  VMPtr<scene::SceneManager> manager = scene::SceneManager::instance;
  VMPtr<ui::Scene> current = scene::SceneManager::currentScene;
  out << " scene=" << (manager ? manager->sceneId : -1);
  out << " hasScene=" << (current ? 1 : 0) << " loading=" << (current && current->suspended ? 1 : 0);
  out << " firstRun=" << int{Main::firstRun} << " sound=" << int{Main::soundOn}
      << " translation=" << Main::translationId << " glyphs=" << Main::currentGlyphId
      << " offset=" << Main::offsetX << ',' << Main::offsetY;
  VMPtr<Main> controller = Main::instance;
  out << " paused=" << (controller ? int{controller->paused} : -1);
  Game::_VM_clinitCheck();
  out << " tier=" << Game::tier << " group=" << Game::group << " stage=" << Game::stage;
  out << " unlocks=" << digits(VMPtr<VMArray<int8_t>>(Game::unlockFlags))
      << " progress=" << digits(VMPtr<VMArray<int8_t>>(Game::progressFlags))
      << " best=" << digits(VMPtr<VMArray<int32_t>>(Game::bestGrades));
  if (auto* menu = dynamic_cast<scene::menu::MenuScene*>(current.get())) probeMenu(out, menu);
  probePlay(out, current.get());
  return out.str();
}

std::string sceneJob(int32_t id) {
  scene::SceneManager::_VM_clinitCheck();
  VMPtr<scene::SceneManager> manager = scene::SceneManager::instance;
  if (!manager) return "error no scene manager";
  manager->changeScene(id);
  return "ok";
}

// Runs a job that answers with a line; the answer, or "error ..." when the
// game has gone.
std::string answerAtGate(const std::function<std::string()>& job) {
  std::string answer = "error the game has ended";
  std::string result;
  if (atGate([&] {
        try {
          result = job();
        } catch (java::lang::Throwable* t) {
          VMPtr<java::lang::Throwable> thrown(t);
          result = "error exception";
        }
      })) {
    answer = result;
  }
  return answer;
}

std::string command(const std::string& line) {
  std::istringstream in(line);
  std::string verb;
  in >> verb;
  if (verb == "step") {
    int64_t n = -1;
    if (!(in >> n) || n < 0) return "error step needs a count";
    return step(n) ? "ok" : "error the game has ended";
  }
  if (verb == "tap") {
    int32_t x = 0, y = 0;
    if (!(in >> x >> y)) return "error tap needs x and y";
    if (!deliver(HAL_EVENT_POINTER_PRESSED, [=] { CeHeadlessBackend::stylusDown(x, y); })) {
      return "error the press was not delivered";
    }
    if (!step(1)) return "error the game has ended";
    if (!deliver(HAL_EVENT_POINTER_RELEASED, [=] { CeHeadlessBackend::stylusUp(x, y); })) {
      return "error the release was not delivered";
    }
    return "ok";
  }
  if (verb == "frame") {
    std::string path;
    if (!(in >> path)) return "error frame needs a path";
    return answerAtGate([&] { return frameJob(path); });
  }
  if (verb == "probe") return answerAtGate(probeLine);
  if (verb == "scene") {
    int32_t id = 0;
    if (!(in >> id)) return "error scene needs an id";
    return answerAtGate([&] { return sceneJob(id); });
  }
  if (verb == "pause" || verb == "resume") {
    const bool pausing = verb == "pause";
    // Nothing is raised when the application is already in that state.
    if (HAL_isRunning() != pausing) return "ok";
    const int type = pausing ? HAL_EVENT_PAUSE : HAL_EVENT_RESUME;
    return deliver(type, [=] { CeHeadlessBackend::activate(!pausing); }) ? "ok" : "error not delivered";
  }
  if (verb == "close") {
    // The gate opens for good first, so that the canvas thread can end.
    release();
    testAppCommand("close");
    return "ok";
  }
  return "error unknown command " + line;
}

// The end of the commands (the test has gone) closes the game, which would
// otherwise wait at its gate for ever.
void Install::readCommands() {
  testAppReadCommands([](const std::string& line) {
    if (!line.empty()) reply(command(line));
  });
  command("close");
}

}  // namespace

}  // namespace gamedriver
