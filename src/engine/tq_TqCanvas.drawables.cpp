// The canvas's side of the drawables: the platform extension, images from
// pixel arrays, and sprite and animation sets by resource id.
#include "tq_Resources.h"
#include "tq_ResourcesExt.h"
#include "tq_TqCanvas.h"
#include "tq_platform_ExtendedGraphics.h"

namespace tq {

VMStatic<platform::PlatformExtension> TqCanvas::platformExtension;

VMPtr<platform::PlatformExtension> TqCanvas::getPlatformExtension() {
  _VM_clinitCheck();
  if (!platformExtension) {
    VMPtr<platform::ExtendedGraphics> made = platform::ExtendedGraphics::_VM_new();
    platformExtension = made->_VM_init();
  }
  return platformExtension;
}

VMPtr<javax::microedition::lcdui::Image> TqCanvas::createRGBImage(VMPtr<VMArray<int32_t>> argb, int32_t w,
                                                                  int32_t h, uint8_t processAlpha) {
  return javax::microedition::lcdui::Image::createRGBImage(argb, w, h, processAlpha);
}

VMPtr<javax::microedition::lcdui::Image> TqCanvas::newRGBImage(VMPtr<VMArray<int32_t>> argb, int32_t w, int32_t h,
                                                               uint8_t processAlpha) {
  return createRGBImage(argb, w, h, processAlpha);
}

VMPtr<VMArray<Gob>> TqCanvas::getGobs(int32_t id) { return ResourcesExt::getGobs(id); }

VMPtr<VMArray<Gob>> TqCanvas::getGobs(int32_t id, VMPtr<VMArray<int8_t>> palette) {
  return ResourcesExt::getGobs(id, palette);
}

VMPtr<AnimSet> TqCanvas::getAnimSet(int32_t id) { return Resources::getAnimSet(id); }

}  // namespace tq
