#include "CeGdi.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <set>
#include <vector>

#include "CeDisplay.h"
#include "CeFramePresenter.h"
#include "CeWindowManager.h"
#include "DeviceProfile.h"

namespace ce {

struct CeDeviceContext {
  bool memory = false;
  HWND window = nullptr;  // the window of a window's DC; null: the screen
  struct Bitmap* selected = nullptr;
};

struct Bitmap {
  int32_t width;
  int32_t height;
  std::vector<uint16_t> pixels;
  int selections = 0;
};

}  // namespace ce

using namespace ce;

namespace {

constexpr int32_t kMaxSide = 4096;

struct State {
  std::mutex mutex;
  std::set<CeDeviceContext*> contexts;
  std::set<Bitmap*> bitmaps;
};

State& state() {
  static State* s = new State();
  return *s;
}

CeDeviceContext* context(HDC dc) {
  return state().contexts.count(dc) ? dc : nullptr;
}

Bitmap* bitmap(HGDIOBJ object) {
  auto* b = static_cast<Bitmap*>(object);
  return state().bitmaps.count(b) ? b : nullptr;
}

// Clips a copy of w x h pixels from (sx, sy) of a bitmap of the given size
// to (x, y) of a target of the given size; false when nothing is left.
bool clip(int32_t& x, int32_t& y, int32_t& w, int32_t& h, int32_t& sx, int32_t& sy, int32_t sourceW, int32_t sourceH,
          int32_t targetW, int32_t targetH) {
  const auto cut = [](int32_t& pos, int32_t& other, int32_t& size) {
    if (pos < 0) {
      size += pos;
      other -= pos;
      pos = 0;
    }
  };
  cut(sx, x, w);
  cut(sy, y, h);
  cut(x, sx, w);
  cut(y, sy, h);
  w = std::min({w, sourceW - sx, targetW - x});
  h = std::min({h, sourceH - sy, targetH - y});
  return w > 0 && h > 0;
}

}  // namespace

namespace ce {

HDC GetDC(HWND window) {
  if (window && !IsWindow(window)) return nullptr;
  auto* dc = new CeDeviceContext();
  dc->window = window;
  std::lock_guard<std::mutex> lock(state().mutex);
  state().contexts.insert(dc);
  return dc;
}

int ReleaseDC(HWND, HDC dc) {
  std::lock_guard<std::mutex> lock(state().mutex);
  CeDeviceContext* c = context(dc);
  if (!c || c->memory) return 0;
  state().contexts.erase(c);
  delete c;
  return 1;
}

HDC CreateCompatibleDC(HDC) {
  auto* dc = new CeDeviceContext();
  dc->memory = true;
  std::lock_guard<std::mutex> lock(state().mutex);
  state().contexts.insert(dc);
  return dc;
}

BOOL DeleteDC(HDC dc) {
  std::lock_guard<std::mutex> lock(state().mutex);
  CeDeviceContext* c = context(dc);
  if (!c || !c->memory) return FALSE;
  if (c->selected) --c->selected->selections;
  state().contexts.erase(c);
  delete c;
  return TRUE;
}

HBITMAP CreateBitmap(int32_t width, int32_t height, UINT planes, UINT bitsPerPixel, const void* bits) {
  if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide || planes != 1 || bitsPerPixel != 16) {
    return nullptr;
  }
  auto* b = new Bitmap{width, height, std::vector<uint16_t>(static_cast<size_t>(width) * height), 0};
  if (bits) std::memcpy(b->pixels.data(), bits, b->pixels.size() * sizeof(uint16_t));
  std::lock_guard<std::mutex> lock(state().mutex);
  state().bitmaps.insert(b);
  return b;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
  std::lock_guard<std::mutex> lock(state().mutex);
  CeDeviceContext* c = context(dc);
  Bitmap* b = bitmap(object);
  if (!c || !c->memory || !b) return nullptr;
  Bitmap* previous = c->selected;
  if (previous) --previous->selections;
  c->selected = b;
  ++b->selections;
  return previous;
}

BOOL DeleteObject(HGDIOBJ object) {
  std::lock_guard<std::mutex> lock(state().mutex);
  Bitmap* b = bitmap(object);
  if (!b || b->selections > 0) return FALSE;
  state().bitmaps.erase(b);
  delete b;
  return TRUE;
}

BOOL BitBlt(HDC target, int32_t x, int32_t y, int32_t width, int32_t height, HDC source, int32_t sx, int32_t sy,
            DWORD operation) {
  if (operation != SRCCOPY) return FALSE;
  std::lock_guard<std::mutex> lock(state().mutex);
  CeDeviceContext* to = context(target);
  CeDeviceContext* from = context(source);
  if (!to || !from || !from->memory || !from->selected) return FALSE;
  const Bitmap& src = *from->selected;
  if (!to->memory) {
    // The window clips what lies outside it; only the bitmap clips here.
    int32_t w = width, h = height;
    if (!clip(x, y, w, h, sx, sy, src.width, src.height, INT32_MAX / 2, INT32_MAX / 2)) return TRUE;
    return CeFramePresenter::present(to->window, src.pixels.data() + static_cast<size_t>(sy) * src.width + sx, w, h,
                                     src.width, x, y)
               ? TRUE
               : FALSE;
  }
  if (!to->selected) return FALSE;
  Bitmap& dst = *to->selected;
  int32_t w = width, h = height;
  if (!clip(x, y, w, h, sx, sy, src.width, src.height, dst.width, dst.height)) return TRUE;
  for (int32_t row = 0; row < h; ++row) {
    std::memmove(dst.pixels.data() + static_cast<size_t>(y + row) * dst.width + x,
                 src.pixels.data() + static_cast<size_t>(sy + row) * src.width + sx, w * sizeof(uint16_t));
  }
  return TRUE;
}

int GetDeviceCaps(HDC, int index) {
  switch (index) {
    case BITSPIXEL: return DeviceProfile::instance().facts().bitsPerPixel;
    case HORZRES: return GetSystemMetrics(SM_CXSCREEN);
    case VERTRES: return GetSystemMetrics(SM_CYSCREEN);
    default: return 0;
  }
}

}  // namespace ce

size_t CeGdi::liveDeviceContexts() {
  std::lock_guard<std::mutex> lock(state().mutex);
  return state().contexts.size();
}

size_t CeGdi::liveBitmaps() {
  std::lock_guard<std::mutex> lock(state().mutex);
  return state().bitmaps.size();
}
