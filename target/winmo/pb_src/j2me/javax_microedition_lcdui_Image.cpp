#include "javax_microedition_lcdui_Image.h"

#include <algorithm>
#include <string>

#include "HALImage.h"
#include "RasterImage.h"
#include "VMServices.h"
#include "VMThrow.h"
#include "java_io_IOException.h"
#include "java_lang_ArrayIndexOutOfBoundsException.h"
#include "java_lang_IllegalArgumentException.h"
#include "java_lang_IllegalStateException.h"
#include "java_lang_OutOfMemoryError.h"
#include "javax_microedition_lcdui_Graphics.h"

VM_REGISTER_CLASS(javax::microedition::lcdui::Image, "javax.microedition.lcdui.Image",
                  "java.lang.Object", 0);

namespace javax::microedition::lcdui {

namespace {

// A new Image object without pixels yet: made before the native handle,
// so that a failed allocation of the object cannot leak the handle.
VMPtr<Image> blank(bool isMutable) {
  VMPtr<Image> image = Image::_VM_new();
  image->Object::_VM_init();
  image->mutable_ = isMutable ? 1 : 0;
  return image;
}

// Takes the size from the handle the HAL made.
VMPtr<Image> finish(VMPtr<Image> image) {
  image->width = image->handle->width;
  image->height = image->handle->height;
  return image;
}

// The common mapping of a creation status: 2 IllegalArgumentException,
// 5 OutOfMemoryError, anything else but 0 a fatal error.
void check(HALStatus status, const char* fatal) {
  if (status == HAL_OK) return;
  if (status == HAL_ILLEGAL_ARGUMENT_ERR) _VM_throwNew<java::lang::IllegalArgumentException>();
  if (status == HAL_OUT_OF_MEMORY_ERR) _VM_throwNew<java::lang::OutOfMemoryError>();
  _VM_fatalError(fatal);
}

// The resource path of `name` as Class.getResourceAsStream of this class
// resolves it: a leading '/' is dropped, any other name gets the package
// path in front.
std::u16string resolveName(const char16_t* name, int32_t count) {
  if (count > 0 && name[0] == u'/') return std::u16string(name + 1, name + count);
  std::u16string path;
  const char* className = Image::_VM_class->_VM_name.c_str();
  for (const char* c = className; *c != '\0'; ++c) path += *c == '.' ? u'/' : char16_t(*c);
  path.resize(path.rfind(u'/') + 1);
  path.append(name, name + count);
  return path;
}

}  // namespace

Image::~Image() { HAL_releaseImage(handle); }

VMPtr<Image> Image::createImage(int32_t width, int32_t height) {
  if (width < 0 || height < 0) _VM_throwNew<java::lang::IllegalArgumentException>();
  VMPtr<Image> image = blank(true);
  check(HAL_createMutableImage(&image->handle, width, height), "HAL_createMutableImage() failed.");
  return finish(image);
}

VMPtr<Image> Image::createImage(VMPtr<Image> source) {
  if (!source) _VM_throwNullPointerException();
  VMPtr<Image> image = blank(false);
  const bool fromMutable = source->mutable_ != 0;
  const HALStatus status = fromMutable
                               ? HAL_createImageWithMutableImage(&image->handle, source->handle)
                               : HAL_createImageWithImmutableImage(&image->handle, source->handle);
  if (status == HAL_OUT_OF_MEMORY_ERR) _VM_throwNew<java::lang::OutOfMemoryError>();
  if (status != HAL_OK) {
    _VM_fatalError(fromMutable ? "HAL_createImageWithMutableImage() failed."
                               : "HAL_createImageWithImmutableImage() failed.");
  }
  return finish(image);
}

VMPtr<Image> Image::createImage(VMPtr<java::lang::String> name) {
  if (!name) _VM_throwNullPointerException();
  const std::u16string path = resolveName(name->_VM_chars(), name->count);
  VMPtr<Image> image = blank(false);
  const HALStatus status = HAL_createImageWithResource(
      &image->handle, path.data(), static_cast<int32_t>(path.size()), nullptr, nullptr);
  if (status == HAL_NOT_FOUND_ERR || status == HAL_BAD_FORMAT_ERR || status == HAL_IO_ERR) {
    const std::string message = "HAL_createImageWithResource() error: " + std::to_string(status);
    _VM_throwNew<java::io::IOException>(message.c_str());
  }
  if (status == HAL_OUT_OF_MEMORY_ERR) _VM_throwNew<java::lang::OutOfMemoryError>();
  if (status != HAL_OK) _VM_fatalError("HAL_createImageWithResource() failed.");
  return finish(image);
}

VMPtr<Image> Image::createImage(VMPtr<VMArray<int8_t>> data, int32_t offset, int32_t length) {
  if (!data) _VM_throwNullPointerException();
  if (offset < 0 || offset >= data->length || length < 0 || int64_t{offset} + length > data->length) {
    _VM_throwNew<java::lang::ArrayIndexOutOfBoundsException>();
  }
  VMPtr<Image> image = blank(false);
  const auto* bytes = reinterpret_cast<const uint8_t*>(data->elements()) + offset;
  const HALStatus status = HAL_createImageWithData(&image->handle, bytes, length, nullptr, nullptr);
  if (status == HAL_BAD_FORMAT_ERR) {
    _VM_throwNew<java::lang::IllegalArgumentException>(
        "HAL_createImageWithData() error: HAL_BAD_FORMAT_ERR");
  }
  if (status == HAL_OUT_OF_MEMORY_ERR) _VM_throwNew<java::lang::OutOfMemoryError>();
  if (status != HAL_OK) _VM_fatalError("HAL_createImageWithData() failed.");
  return finish(image);
}

VMPtr<Image> Image::createRGBImage(VMPtr<VMArray<int32_t>> rgb, int32_t width, int32_t height,
                                   uint8_t processAlpha) {
  if (!rgb) _VM_throwNullPointerException();
  if (width < 1 || height < 1) _VM_throwNew<java::lang::IllegalArgumentException>();
  if (rgb->length < int64_t{width} * height) _VM_throwNew<java::lang::ArrayIndexOutOfBoundsException>();
  VMPtr<Image> image = blank(false);
  check(HAL_createImageWithRGB(&image->handle, rgb->elements(), rgb->length, width, height, processAlpha),
        "HAL_createImageWithRGB() failed.");
  return finish(image);
}

VMPtr<Image> Image::createMutableImage(int32_t width, int32_t height, uint8_t transparent,
                                       int32_t colour) {
  if (width < 1 || height < 1) _VM_throwNew<java::lang::IllegalArgumentException>();
  VMPtr<Image> image = blank(true);
  if (transparent) {
    check(HAL_createTransparentMutableImage(&image->handle, width, height),
          "HAL_createTransparentMutableImage() failed.");
    return finish(image);
  }
  check(HAL_createMutableImage(&image->handle, width, height), "HAL_createMutableImage() failed.");
  finish(image);
  VMPtr<Graphics> g = image->getGraphics();
  g->setARGBColor(static_cast<int32_t>(0xFF000000u | static_cast<uint32_t>(colour)));
  g->fillRect(0, 0, width, height);
  return image;
}

VMPtr<Graphics> Image::getGraphics() {
  if (!mutable_) _VM_throwNew<java::lang::IllegalStateException>();
  return Graphics::create(VMPtr<Image>(this));
}

void Image::getRGB(VMPtr<VMArray<int32_t>> rgbData, int32_t offset, int32_t scanlength, int32_t x,
                   int32_t y, int32_t width, int32_t height) {
  if (x < 0 || y < 0 || int64_t{x} + width > this->width || int64_t{y} + height > this->height) {
    _VM_throwNew<java::lang::IllegalArgumentException>();
  }
  if ((scanlength < 0 ? -int64_t{scanlength} : int64_t{scanlength}) < width) {
    _VM_throwNew<java::lang::IllegalArgumentException>();
  }
  if (width < 1 || height < 1) return;
  if (!rgbData) _VM_throwNullPointerException();
  // Every row must lie inside the array. The rows run from the first to
  // the last, upwards when scanlength is negative, so checking the lowest
  // and the highest of the two ends covers them all.
  const int64_t lastRow = int64_t{offset} + int64_t{height - 1} * scanlength;
  if (std::min<int64_t>(offset, lastRow) < 0 || std::max<int64_t>(offset, lastRow) + width > rgbData->length) {
    _VM_throwNew<java::lang::ArrayIndexOutOfBoundsException>();
  }
  const HALStatus status =
      mutable_ ? HAL_getMutableRGB(handle, rgbData->elements(), rgbData->length, offset, scanlength, x, y,
                                   width, height)
               : HAL_getImmutableRGB(handle, rgbData->elements(), rgbData->length, offset, scanlength, x,
                                     y, width, height);
  if (status != HAL_OK) {
    _VM_fatalError(mutable_ ? "HAL_getMutableRGB() failed." : "HAL_getImmutableRGB() failed.");
  }
}

uint8_t Image::hasAlpha() {
  if (alphaCached) return alphaValue;
  uint8_t answer = 0;
  const HALStatus status = mutable_ ? HAL_getMutableHasAlpha(handle, &answer)
                                    : HAL_getImmutableHasAlpha(handle, &answer);
  if (status != HAL_OK && status != HAL_NOT_IMPLEMENTED_ERR) {
    _VM_fatalError(mutable_ ? "HAL_getMutableHasAlpha() failed." : "HAL_getImmutableHasAlpha() failed.");
  }
  alphaValue = answer;
  alphaCached = 1;
  return alphaValue;
}

}  // namespace javax::microedition::lcdui
