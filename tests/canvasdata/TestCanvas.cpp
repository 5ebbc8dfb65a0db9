#include "TestCanvas.h"

#include "JavaTask.h"

VM_REGISTER_CLASS(test::canvasdata::TestCanvas, "test.canvasdata.TestCanvas", "tq.TqCanvas", 0);

namespace test::canvasdata {

namespace {

std::string line(const char* name, std::initializer_list<int32_t> values) {
  std::string out = name;
  for (int32_t v : values) out += " " + std::to_string(v);
  return out;
}

}  // namespace

VMPtr<TestCanvas> TestCanvas::make() {
  VMPtr<TestCanvas> c = _VM_new();
  c->_VM_init(VMPtr<MIDlet>());
  return c;
}

void TestCanvas::stop() {
  runState = 4;
  VMPtr<java::lang::Thread> thread = canvasThread;
  instance = nullptr;
  canvasThread = nullptr;
  if (thread) java_test::joinThread(thread);
}

void TestCanvas::levelHeader(int32_t value) {
  hooks.push_back(line("header", {value}));
  if (afterHeader) afterHeader(this);
}

void TestCanvas::levelProperties(int32_t a, int32_t columns, int32_t value, int32_t d, int32_t e, int32_t f,
                                 int32_t count) {
  hooks.push_back(line("properties", {a, columns, value, d, e, f, count}));
}

void TestCanvas::levelPaletteEntry(int32_t extra, int32_t entry) { hooks.push_back(line("palette", {extra, entry})); }

void TestCanvas::levelSize(int32_t width, int32_t height) { hooks.push_back(line("size", {width, height})); }

void TestCanvas::levelCell(int32_t x, int32_t y, int32_t value) { hooks.push_back(line("cell", {x, y, value})); }

void TestCanvas::levelEntityGroup(int32_t type, int32_t count) { hooks.push_back(line("group", {type, count})); }

void TestCanvas::levelEntity(int32_t type, int32_t x, int32_t y) {
  hooks.push_back(line("entity", {type, x, y}));
  if (afterEntity) afterEntity(this);
}

}  // namespace test::canvasdata
