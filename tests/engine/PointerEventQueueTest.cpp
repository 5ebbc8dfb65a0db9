// The pointer event queue: sequences in and the events drained, pairing of
// presses and releases, the area's edges, the view's origin, the three
// kinds of overflow, and a randomised check that the reader always sees
// well-formed press ... release sequences.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "EngineFixture.h"
#include "java_lang_System.h"
#include "tq_input_PointerInputEventManager.h"

namespace enginetest {
namespace {

using Queue = tq::input::PointerInputEventManager;

struct Ev {
  int type;
  int x;
  int y;
  bool operator==(const Ev&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Ev& e) {
  return out << "ptr"[e.type - 1] << "(" << e.x << "," << e.y << ")";
}

constexpr int P = 1;
constexpr int D = 2;
constexpr int R = 3;

class EventQueue : public EngineFixture {
 protected:
  void SetUp() override {
    EngineFixture::SetUp();
    canvas = makeCanvas().get();  // never shown: its thread only waits; kept as the instance
    Queue::init();
    Queue::setArea(0, 0, 100, 100);
    Queue::canvasChanged();
    Queue::setEnabled(1);
  }
  static void add(const std::vector<Ev>& events) {
    for (const Ev& e : events) Queue::addEvent(0, e.x, e.y, e.type, 0);
  }
  static std::vector<Ev> drain(int most = 1000) {
    std::vector<Ev> out;
    while (most-- > 0 && Queue::nextEvent()) {
      out.push_back({Queue::getEventType(), Queue::getEventX(), Queue::getEventY()});
    }
    return out;
  }
  // `n` events of `pattern` repeated ("prd" letters), at x = 0, 1, 2 ...
  static std::vector<Ev> pattern(const std::string& letters) {
    std::vector<Ev> out;
    for (size_t i = 0; i < letters.size(); ++i) {
      const int type = letters[i] == 'p' ? P : letters[i] == 'd' ? D : R;
      out.push_back({type, static_cast<int>(i), 0});
    }
    return out;
  }
  ProbeCanvas* canvas = nullptr;
};

struct SequenceCase {
  const char* name;
  std::vector<Ev> in;
  std::vector<Ev> out;
};

TEST_F(EventQueue, SequencesAndWhatTheReaderGets) {
  const SequenceCase cases[] = {
      {"press, drag, release inside", {{P, 1, 2}, {D, 3, 4}, {R, 5, 6}}, {{P, 1, 2}, {D, 3, 4}, {R, 5, 6}}},
      {"a drag leaving to the right releases at the edge; outside drops; back inside presses",
       {{P, 10, 10}, {D, 150, 50}, {D, 160, 50}, {D, 20, 30}},
       {{P, 10, 10}, {R, 99, 50}, {P, 20, 30}}},
      {"leaving up and left clamps both", {{P, 10, 10}, {D, -5, -7}}, {{P, 10, 10}, {R, 0, 0}}},
      {"a release without a press is dropped, a drag without one presses",
       {{R, 5, 5}, {D, 6, 6}},
       {{P, 6, 6}}},
      {"a second press first releases the first where it was", {{P, 1, 1}, {P, 2, 2}}, {{P, 1, 1}, {R, 1, 1}, {P, 2, 2}}},
      {"a press outside is dropped, and so is its release", {{P, 100, 5}, {R, 100, 5}}, {}},
  };
  for (const SequenceCase& c : cases) {
    SCOPED_TRACE(c.name);
    Queue::releaseAll();
    drain();
    add(c.in);
    EXPECT_EQ(drain(), c.out);
  }
}

TEST_F(EventQueue, AfterClearTheFirstEventLandsInSlotZero) {
  Queue::clear();
  add({{P, 7, 8}});
  EXPECT_EQ(Queue::head, 0);
  EXPECT_EQ(Queue::tail, 0);
  EXPECT_TRUE(Queue::nextEvent());
  EXPECT_EQ(Queue::getEventX(), 7);
  EXPECT_FALSE(Queue::nextEvent());
}

struct OverflowCase {
  const char* name;
  std::string filled;  // twenty or more events; `consumed` of them are read first
  int consumed;
  std::string more;    // added after the reading: the last one overflows
  std::vector<int> keptX;
};

std::vector<int> range(int from, int to) {
  std::vector<int> out;
  for (int i = from; i <= to; ++i) out.push_back(i);
  return out;
}

std::vector<int> join(std::vector<int> a, const std::vector<int>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST_F(EventQueue, OverflowKeepsPressesAndReleasesPaired) {
  const std::string pairs = "prprprprprprprprprpr";
  const std::string drags = "pddddddddddddddddddd";
  const OverflowCase cases[] = {
      {"press, release at the head: both go", pairs, 0, "p", range(2, 20)},
      {"press, drag at the head: the drag goes", drags, 0, "d", join({0}, range(2, 20))},
      {"a drag at the head goes", drags, 1, "dd", range(2, 21)},
      {"release, press, release: the pair after the release goes", pairs, 1, "pr", join({1}, range(4, 21))},
      {"release, press, drag: the drag goes", "prpddddddddddddddddd", 1, "dd", join({1, 2}, range(4, 21))},
  };
  for (const OverflowCase& c : cases) {
    SCOPED_TRACE(c.name);
    Queue::releaseAll();
    Queue::clear();
    std::vector<Ev> events = pattern(c.filled + c.more);
    add(std::vector<Ev>(events.begin(), events.begin() + static_cast<long>(c.filled.size())));
    ASSERT_EQ(Queue::count, 20);
    drain(c.consumed);
    add(std::vector<Ev>(events.begin() + static_cast<long>(c.filled.size()), events.end()));
    EXPECT_EQ(Queue::count, static_cast<int>(c.keptX.size()));
    std::vector<int> xs;
    for (const Ev& e : drain()) xs.push_back(e.x);
    EXPECT_EQ(xs, c.keptX);
  }
}

TEST_F(EventQueue, PauseIgnoreAndReleaseAll) {
  add({{P, 4, 5}});
  Queue::setPaused(1);
  add({{D, 6, 7}});
  EXPECT_FALSE(Queue::nextEvent());  // paused: nothing delivered, events kept
  EXPECT_EQ(Queue::getEventCount(), 2);
  Queue::setPaused(0);
  drain();
  Queue::setIgnoreInput(1);
  add({{R, 1, 1}});  // ignored
  const int64_t before = java::lang::System::currentTimeMillis();
  Queue::releaseAll();  // still queued, at the last position, now
  EXPECT_EQ(drain(1), (std::vector<Ev>{{R, 6, 7}}));
  EXPECT_GE(Queue::getEventTime(), before);
  Queue::setIgnoreInput(0);
  add({{P, 1, 1}});
  Queue::setEnabled(0);
  Queue::releaseAll();  // disabled: nothing queued, but the pointer is up
  EXPECT_EQ(Queue::pointerPressed->at(0), 0);
  Queue::setEnabled(1);
  EXPECT_EQ(Queue::getEventCount(), 0);
  add({{R, 1, 1}});
  EXPECT_TRUE(drain().empty());
}

TEST_F(EventQueue, EnablingTwiceMakesTheRingOnce) {
  VMArray<Queue::Event>* ring = Queue::events.get();
  Queue::setEnabled(1);
  EXPECT_EQ(Queue::events.get(), ring);
}

TEST_F(EventQueue, ScreenCoordinatesBecomeViewCoordinates) {
  canvas->viewX = 40;
  canvas->viewY = 30;
  canvas->viewWidth = 240;
  canvas->viewHeight = 320;
  Queue::setArea(0, 0, -1, -1);
  canvas->updateInputArea();
  EXPECT_EQ(Queue::areaWidth, 240);
  add({{P, 45, 33}, {R, 40 + 239, 30 + 319}});
  EXPECT_EQ(drain(), (std::vector<Ev>{{P, 5, 3}, {R, 239, 319}}));
}

// Random input, random reading and pauses: the reader never sees a release
// or a drag without a press, nor two presses in a row.
TEST_F(EventQueue, RandomInputStaysWellFormed) {
  std::mt19937 random(12345);
  bool down = false;
  int64_t delivered = 0;
  for (int step = 0; step < 20000; ++step) {
    const int action = static_cast<int>(random() % 100);
    if (action < 70) {
      const int type = 1 + static_cast<int>(random() % 3);
      Queue::addEvent(0, static_cast<int>(random() % 140) - 20, static_cast<int>(random() % 140) - 20, type, step);
    } else if (action < 90) {
      for (const Ev& e : drain(static_cast<int>(random() % 30))) {
        ++delivered;
        if (e.type == P) {
          ASSERT_FALSE(down) << "two presses in a row at step " << step;
        } else {
          ASSERT_TRUE(down) << e << " without a press at step " << step;
        }
        down = e.type != R;
        ASSERT_TRUE(e.x >= 0 && e.x < 100 && e.y >= 0 && e.y < 100) << e;
      }
    } else if (action < 93) {
      Queue::setIgnoreInput(1);
      Queue::releaseAll();
      Queue::setIgnoreInput(0);
    } else {
      Queue::setPaused(action % 2);
    }
  }
  EXPECT_GT(delivered, 1000);
}

}  // namespace
}  // namespace enginetest
