// The level bit stream through a test canvas, from a pack in rsc/: one
// table of streams and the hooks they give (filler, palettes, cells, the
// signed value, entities, hooks reading bits of their own), then the
// streams that are refused: cut short, a cell past the palette, zero
// divisors.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "BitWriter.h"
#include "JavaTestSupport.h"
#include "PackFixtures.h"
#include "TestCanvas.h"
#include "VMTestEnv.h"
#include "java_io_EOFException.h"
#include "java_lang_ArithmeticException.h"
#include "java_lang_ArrayIndexOutOfBoundsException.h"
#include "tq_Resources.h"

using namespace pack_fixtures;
using test::canvasdata::TestCanvas;

namespace {

// The content writers' bit writer (most significant bit first, the last
// byte padded with zeros), its writes chained: the streams here are made
// bit by bit, filler of ones and malformed ones included.
class Bits {
 public:
  Bits& put(uint32_t value, int width) {
    out_.write(width, value);
    return *this;
  }
  Bytes bytes() const {
    content::BitWriter copy = out_;
    return copy.take();
  }

 private:
  content::BitWriter out_;
};

using Lines = std::vector<std::string>;

struct Outcome {
  Lines hooks;
  std::string thrown;  // the class of what loadLevel threw, or empty
};

// Stores each stream as a resource of pack 2 and loads level i.
std::vector<Outcome> loadAll(const std::vector<Bytes>& levels,
                             const std::function<void(TestCanvas*, size_t)>& prepare = nullptr) {
  ProgramFolder folder;
  VMTestEnv::start();
  folder.put("RP2.rp", simplePack(levels, Bytes(levels.size(), 0)));
  VMPtr<TestCanvas> canvas = TestCanvas::make();
  std::vector<Outcome> out;
  for (size_t i = 0; i < levels.size(); ++i) {
    canvas->hooks.clear();
    canvas->afterHeader = nullptr;
    canvas->afterEntity = nullptr;
    if (prepare) prepare(canvas.get(), i);
    Outcome o;
    try {
      canvas->loadLevel(2048 + static_cast<int32_t>(i));
      EXPECT_FALSE(canvas->levelStream);
    } catch (java::lang::Throwable* t) {
      VMPtr<java::lang::Throwable> thrown(t);
      o.thrown = t->_VM_getClass()->_VM_name.c_str();
    }
    o.hooks = canvas->hooks;
    out.push_back(o);
  }
  TestCanvas::stop();
  return out;
}

// Block B: a, columns, value (17 bits), d, e, f (or absent), N, code width,
// codes.
Bits& grid(Bits& b, uint32_t columns, uint32_t value17, int32_t f, const std::vector<uint32_t>& codes, int width) {
  b.put(1, 1).put(8, 8).put(columns, 12).put(value17, 17).put(16, 10).put(24, 10);
  if (f >= 0) {
    b.put(1, 1).put(static_cast<uint32_t>(f), 10);
  } else {
    b.put(0, 1);
  }
  b.put(static_cast<uint32_t>(codes.size()), 12).put(static_cast<uint32_t>(width), 4);
  for (uint32_t code : codes) b.put(code, width);
  return b;
}

TEST(LevelStream, HooksInStreamOrder) {
  struct Case {
    const char* what;
    Bytes stream;
    Lines hooks;
  };
  std::vector<Case> cases;
  {
    // Flag 0x80: filler after A, after the palette and after each group,
    // none after the cells.
    Bits b;
    b.put(0x80, 8).put(1, 1).put(700, 10).put(0x3F, 6);
    grid(b, 4, 5, 3, {1, 6}, 3).put(0x3F, 6).put(2, 12).put(1, 12).put(2, 2).put(1, 2);
    b.put(1, 1).put(4, 16).put(10, 10).put(20, 10).put(2, 10).put(3, 5);
    b.put(9, 10).put(3, 12).put(3, 3).put(0, 3).put(5, 3).put(0x3F, 6);
    b.put(12, 10).put(0, 12).put(0x3F, 6);
    cases.push_back({"all blocks with filler", b.bytes(),
                     {"header 700", "properties 8 4 5 16 24 3 2", "palette 3 1", "palette 3 4098", "size 2 1",
                      "cell 0 0 4098", "cell 1 0 1", "group 9 3", "entity 9 13 20", "entity 9 13 20",
                      "entity 9 10 22", "group 12 0"}});
  }
  {
    Bits b;
    b.put(0, 8).put(0, 1);
    grid(b, 7, 0x1FFFF, -1, {}, 0).put(3, 12).put(1, 12);
    b.put(0, 1);
    cases.push_back({"no palette: cells take no bits", b.bytes(),
                     {"properties 8 7 -1 16 24 -1 0", "size 3 1", "cell 0 0 0", "cell 1 0 0", "cell 2 0 0"}});
  }
  {
    Bits b;
    b.put(0, 8).put(0, 1);
    grid(b, 4, 0x10000, -1, {0, 1, 2, 3, 4}, 4).put(2, 12).put(2, 12);
    b.put(5, 3).put(0, 3).put(1, 3).put(4, 3).put(0, 1);
    cases.push_back({"five entries: three bits a cell; code 0 gives 0", b.bytes(),
                     {"properties 8 4 -65536 16 24 -1 5", "palette -1 0", "palette -1 1", "palette -1 2",
                      "palette -1 3", "palette -1 4", "size 2 2", "cell 0 0 4", "cell 1 0 0", "cell 0 1 0",
                      "cell 1 1 3"}});
  }
  {
    Bits b;
    b.put(0x7F, 8).put(1, 1).put(1023, 10).put(0, 1).put(0, 1);
    cases.push_back({"flags without bit 7: no filler", b.bytes(), {"header 1023"}});
  }
  std::vector<Bytes> streams;
  for (const Case& c : cases) streams.push_back(c.stream);
  const std::vector<Outcome> outcomes = loadAll(streams);
  for (size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE(cases[i].what);
    EXPECT_EQ(outcomes[i].thrown, "");
    EXPECT_EQ(outcomes[i].hooks, cases[i].hooks);
  }
}

// A hook's own fields follow its values: the header's before its filler,
// each entity's after the whole delta list of its group.
TEST(LevelStream, HooksReadFieldsOfTheirOwn) {
  Bits b;
  b.put(0x80, 8).put(1, 1).put(5, 10).put(0xDEADBEEF, 32).put(1, 1).put(0, 6);
  b.put(0, 1).put(1, 1).put(100, 16).put(0, 10).put(0, 10).put(1, 10).put(8, 5);
  b.put(2, 10).put(2, 12).put(150, 8).put(1, 8).put(0xA, 4).put(0x5, 4).put(0, 6);
  std::vector<uint32_t> read;
  const std::vector<Outcome> outcomes = loadAll({b.bytes()}, [&](TestCanvas* c, size_t) {
    c->afterHeader = [&](TestCanvas* canvas) {
      EXPECT_EQ(canvas->levelReadBits(0), 0);
      read.push_back(static_cast<uint32_t>(canvas->levelReadBits(32)));
      read.push_back(canvas->levelReadBoolean());
      EXPECT_EQ(canvas->levelReadBits(-3), 0);
    };
    c->afterEntity = [&](TestCanvas* canvas) { read.push_back(static_cast<uint32_t>(canvas->levelReadBits(4))); };
  });
  EXPECT_EQ(outcomes[0].thrown, "");
  EXPECT_EQ(outcomes[0].hooks, (Lines{"header 5", "group 2 2", "entity 2 50 1", "entity 2 51 1"}));
  EXPECT_EQ(read, (std::vector<uint32_t>{0xDEADBEEF, 1, 0xA, 0x5}));
}

TEST(LevelStream, MalformedStreamsAreRefused) {
  Bits full;
  full.put(0, 8).put(0, 1);
  grid(full, 4, 0, -1, {1}, 4).put(4095, 12).put(4095, 12).put(1, 1);
  Bits pastPalette;
  pastPalette.put(0, 8).put(0, 1);
  grid(pastPalette, 4, 0, -1, {1, 2}, 4).put(1, 12).put(1, 12).put(3, 2);
  Bits noColumns;
  noColumns.put(0, 8).put(0, 1);
  grid(noColumns, 0, 0, -1, {1}, 4);
  Bits noColumnsNoPalette;
  noColumnsNoPalette.put(0, 8).put(0, 1);
  grid(noColumnsNoPalette, 0, 0, -1, {}, 4).put(0, 12).put(0, 12).put(0, 1);
  Bits noRowWidth;
  noRowWidth.put(0, 8).put(0, 1).put(0, 1).put(1, 1).put(0, 16).put(0, 10).put(0, 10).put(1, 10).put(2, 5);
  noRowWidth.put(1, 10).put(1, 12).put(1, 2);
  struct Case {
    const char* what;
    Bytes stream;
    std::string thrown;
  };
  const std::vector<Case> cases = {
      {"empty", {}, "java.io.EOFException"},
      {"a 4095 x 4095 grid cut short", full.bytes(), "java.io.EOFException"},
      {"cell past the palette", pastPalette.bytes(), "java.lang.ArrayIndexOutOfBoundsException"},
      {"no columns with codes", noColumns.bytes(), "java.lang.ArithmeticException"},
      {"no columns without codes", noColumnsNoPalette.bytes(), ""},
      {"no row width with entities", noRowWidth.bytes(), "java.lang.ArithmeticException"},
  };
  std::vector<Bytes> streams;
  for (const Case& c : cases) streams.push_back(c.stream);
  const std::vector<Outcome> outcomes = loadAll(streams);
  for (size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE(cases[i].what);
    EXPECT_EQ(outcomes[i].thrown, cases[i].thrown);
  }
}

}  // namespace
