#include "DrawCanvas.h"

#include "JavaTask.h"

VM_REGISTER_CLASS(test::canvasdraw::DrawCanvas, "test.canvasdraw.DrawCanvas", "tq.TqCanvas", 0);

namespace test::canvasdraw {

VMPtr<DrawCanvas> DrawCanvas::make() {
  VMPtr<DrawCanvas> c = _VM_new();
  c->_VM_init(VMPtr<MIDlet>());
  return c;
}

void DrawCanvas::stop() {
  runState = 4;
  VMPtr<java::lang::Thread> thread = canvasThread;
  instance = nullptr;
  canvasThread = nullptr;
  if (thread) java_test::joinThread(thread);
}

VMPtr<VMArray<int8_t>> bytesOf(const std::vector<uint8_t>& v) {
  VMPtr<VMArray<int8_t>> a = VMArray<int8_t>::create(static_cast<int32_t>(v.size()));
  for (size_t i = 0; i < v.size(); ++i) a->at(static_cast<int32_t>(i)) = static_cast<int8_t>(v[i]);
  return a;
}

std::vector<uint8_t> vectorOf(const VMPtr<VMArray<int8_t>>& a) {
  std::vector<uint8_t> v;
  for (int32_t i = 0; i < a->length; ++i) v.push_back(static_cast<uint8_t>(a->at(i)));
  return v;
}

VMPtr<VMArray<int32_t>> intsOf(const std::vector<int32_t>& v) {
  VMPtr<VMArray<int32_t>> a = VMArray<int32_t>::create(static_cast<int32_t>(v.size()));
  for (size_t i = 0; i < v.size(); ++i) a->at(static_cast<int32_t>(i)) = v[i];
  return a;
}

std::vector<uint32_t> pixelsOf(const VMPtr<javax::microedition::lcdui::Image>& image) {
  const int32_t w = image->getWidth();
  const int32_t h = image->getHeight();
  VMPtr<VMArray<int32_t>> rgb = VMArray<int32_t>::create(w * h);
  image->getRGB(rgb, 0, w, 0, 0, w, h);
  std::vector<uint32_t> out;
  for (int32_t i = 0; i < rgb->length; ++i) out.push_back(static_cast<uint32_t>(rgb->at(i)) & 0xFFF8FCF8u);
  return out;
}

}  // namespace test::canvasdraw
