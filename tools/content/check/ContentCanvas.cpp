#include "ContentCanvas.h"

namespace content::check {

VMPtr<ContentCanvas> ContentCanvas::shared() {
  static VMNative<ContentCanvas>* canvas = [] {
    VMPtr<ContentCanvas> c = _VM_new();
    c->_VM_init(VMPtr<javax::microedition::midlet::MIDlet>());
    return new VMNative<ContentCanvas>(c);
  }();
  return VMPtr<ContentCanvas>(*canvas);
}

int32_t ContentCanvas::levelReadBits(int32_t n) {
  if (n > 0) bits_ += n;
  return TqCanvas::levelReadBits(n);
}

void ContentCanvas::levelHeader(int32_t) {
  if (level_) readFields(level_->headerFields);
}

void ContentCanvas::levelEntity(int32_t type, int32_t, int32_t) {
  if (level_) readFields(level_->fieldsOfEntity(type));
}

void ContentCanvas::readFields(const std::vector<int>& widths) {
  for (int w : widths) levelReadBits(w);
}

int64_t ContentCanvas::readLevel(const ManifestResource& resource) {
  level_ = &resource;
  bits_ = 0;
  try {
    loadLevel(resource.id);
  } catch (...) {
    level_ = nullptr;
    throw;
  }
  level_ = nullptr;
  return bits_;
}

}  // namespace content::check

VM_REGISTER_CLASS(content::check::ContentCanvas, "content.check.ContentCanvas", "tq.TqCanvas", 0);
