// The raster library's fills and blits side by side with SDL2's RGB565
// software paths and pixman, on the same 240 x 320 RGB565 buffer:
//
//   SolidFill, BlendFill:   a rectangle in one colour, opaque / alpha 128
//                           (SDL: SDL_FillRect / a blended fill through its
//                           software renderer; pixman: pixman_fill / OVER
//                           of a solid colour).
//   OpaqueBlit:             an RGB565 image copied (SDL_BlitSurface; pixman
//                           SRC composite).
//   KeyBlit:                an image with transparent pixels (our key colour
//                           and SDL's colour key; pixman OVER through an a8
//                           mask of 0 and 255).
//   AlphaBlit:              the image under a global alpha of 128 (SDL alpha
//                           modulation; pixman OVER with a solid mask).
//   PlaneBlit:              an image with an 8-bit alpha per pixel (ours: the
//                           RGB565 colour plane and its alpha plane; pixman:
//                           the same two planes as source and a8 mask; SDL:
//                           an ARGB8888 image, its per-pixel alpha format).
//
// Each runs on the whole target and as 16x16, 32x32 and 64x64 sprites at
// 1024 random positions, partly outside the target. Rates are pixels drawn
// per second (clipped pixels do not count). After the runs a table gives
// our rate, the ratio to each peer and, for fills and copies, the share of
// memcpy's rate over the same number of bytes.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "RasterContext.h"
#include "RasterImage.h"
#include "RasterSurface.h"

#ifdef JME_HAVE_PIXMAN
#include <pixman.h>
#endif

namespace {

constexpr int kW = 240;
constexpr int kH = 320;
constexpr int kSizes[] = {0, 16, 32, 64};  // 0: the whole target
constexpr int kSpots = 1024;

struct Spot { int x, y; };

// A sprite source of side s (or the whole target's size) in every form the
// peers want, with the same pixels.
struct Source {
  int w, h;
  RasterSurface* opaque;  // type 1
  RasterSurface* keyed;   // type 2: every 5th pixel the key colour
  RasterSurface* planed;  // type 3: alphas 0..255 ramp
  SDL_Surface* sdlOpaque;
  SDL_Surface* sdlKeyed;
  SDL_Surface* sdlAlpha;  // opaque pixels, alpha modulation 128
  SDL_Surface* sdlArgb;   // ARGB8888 with the plane's alphas
  std::vector<uint8_t> keyMask;  // 0 for key pixels, else 255
#ifdef JME_HAVE_PIXMAN
  pixman_image_t* pxSource;
  pixman_image_t* pxKeyMask;
  pixman_image_t* pxPlaneMask;
#endif
};

struct World {
  RasterImage* target;
  RasterContext* g;
  SDL_Surface* sdlTarget;
  SDL_Renderer* sdlRenderer;
#ifdef JME_HAVE_PIXMAN
  pixman_image_t* pxTarget;
  pixman_image_t* pxSolid;
  pixman_image_t* pxSolidHalf;
  pixman_image_t* pxHalfMask;
#endif
  std::map<int, Source> sources;
  std::map<int, std::vector<Spot>> spots;
  std::map<int, double> pixels;  // pixels drawn by one pass over the spots
};

World* world = nullptr;

SDL_Surface* sdlOver(RasterSurface* s) {
  return SDL_CreateRGBSurfaceWithFormatFrom(s->pixels, s->width, s->height, 16, s->stride * 2,
                                            SDL_PIXELFORMAT_RGB565);
}

Source makeSource(int side) {
  Source src{};
  src.w = side == 0 ? kW : side;
  src.h = side == 0 ? kH : side;
  src.opaque = RasterSurface::createOpaque(src.w, src.h);
  src.keyed = RasterSurface::create(src.w, src.h, RasterSurface::kMasked);
  src.planed = RasterSurface::createWithAlphaPlane(src.w, src.h);
  src.sdlArgb = SDL_CreateRGBSurfaceWithFormat(0, src.w, src.h, 32, SDL_PIXELFORMAT_ARGB8888);
  for (int y = 0; y < src.h; ++y) {
    for (int x = 0; x < src.w; ++x) {
      const uint16_t p = static_cast<uint16_t>(x * 2113 + y * 977) | 0x0821;
      const uint8_t a = static_cast<uint8_t>((x * 7 + y * 13) & 0xFF);
      const bool key = (x + y * src.w) % 5 == 0;
      *src.opaque->pixelAddress(x, y) = p;
      *src.keyed->pixelAddress(x, y) = key ? RasterSurface::kKeyColour : p;
      *src.planed->pixelAddress(x, y) = p;
      *src.planed->alphaAddress(x, y) = a;
      src.keyMask.push_back(key ? 0 : 255);
      static_cast<uint32_t*>(src.sdlArgb->pixels)[y * src.sdlArgb->pitch / 4 + x] =
          (uint32_t{a} << 24) | (rasterUnpack565(p) & 0xFFFFFF);
    }
  }
  src.sdlOpaque = sdlOver(src.opaque);
  src.sdlKeyed = sdlOver(src.keyed);
  SDL_SetColorKey(src.sdlKeyed, SDL_TRUE, RasterSurface::kKeyColour);
  src.sdlAlpha = sdlOver(src.opaque);
  SDL_SetSurfaceBlendMode(src.sdlAlpha, SDL_BLENDMODE_BLEND);
  SDL_SetSurfaceAlphaMod(src.sdlAlpha, 128);
  SDL_SetSurfaceBlendMode(src.sdlArgb, SDL_BLENDMODE_BLEND);
#ifdef JME_HAVE_PIXMAN
  src.pxSource = pixman_image_create_bits(PIXMAN_r5g6b5, src.w, src.h,
                                          reinterpret_cast<uint32_t*>(src.opaque->pixels), src.w * 2);
  src.pxKeyMask = pixman_image_create_bits(PIXMAN_a8, src.w, src.h,
                                           reinterpret_cast<uint32_t*>(src.keyMask.data()), src.w);
  src.pxPlaneMask = pixman_image_create_bits(
      PIXMAN_a8, src.w, src.h, reinterpret_cast<uint32_t*>(src.planed->alphaPlane()), src.w);
#endif
  return src;
}

void setUp() {
  world = new World();
  world->target = RasterImage::create(RasterSurface::createOpaque(kW, kH));
  world->g = RasterContext::create(world->target);
  world->sdlTarget = sdlOver(world->target->surface);
  world->sdlRenderer = SDL_CreateSoftwareRenderer(world->sdlTarget);
  SDL_SetRenderDrawBlendMode(world->sdlRenderer, SDL_BLENDMODE_BLEND);
#ifdef JME_HAVE_PIXMAN
  world->pxTarget = pixman_image_create_bits(
      PIXMAN_r5g6b5, kW, kH, reinterpret_cast<uint32_t*>(world->target->surface->pixels), kW * 2);
  const pixman_color_t blue{0x2000, 0x4000, 0xF000, 0xFFFF};
  const pixman_color_t blueHalf{0x1000, 0x2000, 0x7800, 0x8000};  // premultiplied
  const pixman_color_t half{0, 0, 0, 0x8000};
  world->pxSolid = pixman_image_create_solid_fill(&blue);
  world->pxSolidHalf = pixman_image_create_solid_fill(&blueHalf);
  world->pxHalfMask = pixman_image_create_solid_fill(&half);
#endif
  std::mt19937 random(15);
  for (int side : kSizes) {
    world->sources.emplace(side, makeSource(side));
    std::vector<Spot>& spots = world->spots[side];
    double pixels = 0;
    if (side == 0) {
      spots.push_back({0, 0});
      pixels = static_cast<double>(kW) * kH;
    } else {
      for (int i = 0; i < kSpots; ++i) {
        const Spot s{static_cast<int>(random() % (kW + side)) - side / 2,
                     static_cast<int>(random() % (kH + side)) - side / 2};
        spots.push_back(s);
        const int w = std::min(s.x + side, kW) - std::max(s.x, 0);
        const int h = std::min(s.y + side, kH) - std::max(s.y, 0);
        pixels += static_cast<double>(std::max(w, 0)) * std::max(h, 0);
      }
    }
    world->pixels[side] = pixels;
  }
}

// Runs `draw(spot, w, h)` over every spot of the size per iteration.
template <typename Draw>
void run(benchmark::State& state, int side, Draw draw) {
  const Source& src = world->sources.at(side);
  const std::vector<Spot>& spots = world->spots.at(side);
  for (auto _ : state) {
    for (const Spot& s : spots) draw(s, src);
    benchmark::ClobberMemory();
  }
  state.counters["MPix/s"] = benchmark::Counter(world->pixels.at(side) * 1e-6 *
                                                    static_cast<double>(state.iterations()),
                                                benchmark::Counter::kIsRate);
}

SDL_Rect sdlRect(const Spot& s, const Source& src) { return SDL_Rect{s.x, s.y, src.w, src.h}; }

// pixman_fill does not clip.
bool clipped(const Spot& s, const Source& src, int& x, int& y, int& w, int& h) {
  x = std::max(s.x, 0);
  y = std::max(s.y, 0);
  w = std::min(s.x + src.w, kW) - x;
  h = std::min(s.y + src.h, kH) - y;
  return w > 0 && h > 0;
}

using Bench = void (*)(benchmark::State&, int);

struct Entry { const char* op; const char* impl; Bench bench; };

const Entry kEntries[] = {
    {"SolidFill", "ours", [](benchmark::State& st, int side) {
       world->g->setColour(0xFF2040F0);
       run(st, side, [](const Spot& s, const Source& src) { world->g->fillRect(s.x, s.y, src.w, src.h); });
     }},
    {"SolidFill", "SDL", [](benchmark::State& st, int side) {
       run(st, side, [](const Spot& s, const Source& src) {
         SDL_Rect r = sdlRect(s, src);
         SDL_FillRect(world->sdlTarget, &r, 0x221E);
       });
     }},
    {"BlendFill", "ours", [](benchmark::State& st, int side) {
       world->g->setColour(0x802040F0);
       run(st, side, [](const Spot& s, const Source& src) { world->g->fillRect(s.x, s.y, src.w, src.h); });
     }},
    {"BlendFill", "SDL", [](benchmark::State& st, int side) {
       SDL_SetRenderDrawColor(world->sdlRenderer, 0x20, 0x40, 0xF0, 0x80);
       run(st, side, [](const Spot& s, const Source& src) {
         SDL_Rect r = sdlRect(s, src);
         SDL_RenderFillRect(world->sdlRenderer, &r);
         SDL_RenderFlush(world->sdlRenderer);
       });
     }},
    {"OpaqueBlit", "ours", [](benchmark::State& st, int side) {
       world->g->setColour(0xFF000000);
       run(st, side, [](const Spot& s, const Source& src) { world->g->blit(s.x, s.y, src.w, src.h, src.opaque, 0, 0, 0); });
     }},
    {"OpaqueBlit", "SDL", [](benchmark::State& st, int side) {
       run(st, side, [](const Spot& s, const Source& src) {
         SDL_Rect r = sdlRect(s, src);
         SDL_BlitSurface(src.sdlOpaque, nullptr, world->sdlTarget, &r);
       });
     }},
    {"KeyBlit", "ours", [](benchmark::State& st, int side) {
       world->g->setColour(0xFF000000);
       run(st, side, [](const Spot& s, const Source& src) { world->g->blit(s.x, s.y, src.w, src.h, src.keyed, 0, 0, 0); });
     }},
    {"KeyBlit", "SDL", [](benchmark::State& st, int side) {
       run(st, side, [](const Spot& s, const Source& src) {
         SDL_Rect r = sdlRect(s, src);
         SDL_BlitSurface(src.sdlKeyed, nullptr, world->sdlTarget, &r);
       });
     }},
    {"AlphaBlit", "ours", [](benchmark::State& st, int side) {
       world->g->setColour(0x80000000);
       run(st, side, [](const Spot& s, const Source& src) { world->g->blit(s.x, s.y, src.w, src.h, src.opaque, 0, 0, 0); });
     }},
    {"AlphaBlit", "SDL", [](benchmark::State& st, int side) {
       run(st, side, [](const Spot& s, const Source& src) {
         SDL_Rect r = sdlRect(s, src);
         SDL_BlitSurface(src.sdlAlpha, nullptr, world->sdlTarget, &r);
       });
     }},
    {"PlaneBlit", "ours", [](benchmark::State& st, int side) {
       world->g->setColour(0xFF000000);
       run(st, side, [](const Spot& s, const Source& src) { world->g->blit(s.x, s.y, src.w, src.h, src.planed, 0, 0, 0); });
     }},
    {"PlaneBlit", "SDL", [](benchmark::State& st, int side) {
       run(st, side, [](const Spot& s, const Source& src) {
         SDL_Rect r = sdlRect(s, src);
         SDL_BlitSurface(src.sdlArgb, nullptr, world->sdlTarget, &r);
       });
     }},
#ifdef JME_HAVE_PIXMAN
    {"SolidFill", "pixman", [](benchmark::State& st, int side) {
       run(st, side, [](const Spot& s, const Source& src) {
         int x, y, w, h;
         if (clipped(s, src, x, y, w, h)) {
           pixman_fill(reinterpret_cast<uint32_t*>(world->target->surface->pixels), kW / 2, 16, x, y, w, h, 0x221E);
         }
       });
     }},
    {"BlendFill", "pixman", [](benchmark::State& st, int side) {
       run(st, side, [](const Spot& s, const Source& src) {
         pixman_image_composite32(PIXMAN_OP_OVER, world->pxSolidHalf, nullptr, world->pxTarget, 0, 0, 0, 0, s.x, s.y, src.w, src.h);
       });
     }},
    {"OpaqueBlit", "pixman", [](benchmark::State& st, int side) {
       run(st, side, [](const Spot& s, const Source& src) {
         pixman_image_composite32(PIXMAN_OP_SRC, src.pxSource, nullptr, world->pxTarget, 0, 0, 0, 0, s.x, s.y, src.w, src.h);
       });
     }},
    {"KeyBlit", "pixman", [](benchmark::State& st, int side) {
       run(st, side, [](const Spot& s, const Source& src) {
         pixman_image_composite32(PIXMAN_OP_OVER, src.pxSource, src.pxKeyMask, world->pxTarget, 0, 0, 0, 0, s.x, s.y, src.w, src.h);
       });
     }},
    {"AlphaBlit", "pixman", [](benchmark::State& st, int side) {
       run(st, side, [](const Spot& s, const Source& src) {
         pixman_image_composite32(PIXMAN_OP_OVER, src.pxSource, world->pxHalfMask, world->pxTarget, 0, 0, 0, 0, s.x, s.y, src.w, src.h);
       });
     }},
    {"PlaneBlit", "pixman", [](benchmark::State& st, int side) {
       run(st, side, [](const Spot& s, const Source& src) {
         pixman_image_composite32(PIXMAN_OP_OVER, src.pxSource, src.pxPlaneMask, world->pxTarget, 0, 0, 0, 0, s.x, s.y, src.w, src.h);
       });
     }},
#endif
    // memcpy of the same rows: the bandwidth a fill or copy could reach.
    {"Memcpy", "memcpy", [](benchmark::State& st, int side) {
       run(st, side, [](const Spot& s, const Source& src) {
         int x, y, w, h;
         if (!clipped(s, src, x, y, w, h)) return;
         for (int row = 0; row < h; ++row) {
           std::memcpy(world->target->surface->pixelAddress(x, y + row),
                       src.opaque->pixelAddress(x - s.x, y - s.y + row), static_cast<size_t>(w) * 2);
         }
       });
     }},
};

// Keeps each run's rate for the table printed at the end.
class RateReporter : public benchmark::ConsoleReporter {
 public:
  std::map<std::string, double> rates;
  void ReportRuns(const std::vector<Run>& runs) override {
    // With repetitions the median, reported after the single runs, wins.
    for (const Run& r : runs) {
      const bool median = r.run_type == Run::RT_Aggregate && r.aggregate_name == "median";
      if (r.run_type == Run::RT_Aggregate && !median) continue;
      auto it = r.counters.find("MPix/s");
      if (it != r.counters.end()) rates[r.run_name.str()] = it->second;
    }
    ConsoleReporter::ReportRuns(runs);
  }
};

std::string name(const char* op, const char* impl, int side) {
  return std::string(op) + "/" + impl + "/" + (side == 0 ? "240x320" : std::to_string(side));
}

void printTable(const std::map<std::string, double>& rates) {
  auto rate = [&](const std::string& n) {
    auto it = rates.find(n);
    return it == rates.end() ? 0.0 : it->second;
  };
  std::printf("\n%-11s %-8s %9s %9s %9s %9s\n", "operation", "size", "MPix/s", "x SDL", "x pixman", "memcpy");
  for (const char* op : {"SolidFill", "BlendFill", "OpaqueBlit", "KeyBlit", "AlphaBlit", "PlaneBlit"}) {
    for (int side : kSizes) {
      const double ours = rate(name(op, "ours", side));
      if (ours == 0) continue;
      const double sdl = rate(name(op, "SDL", side));
      const double px = rate(name(op, "pixman", side));
      const double mem = rate(name("Memcpy", "memcpy", side));
      const bool copyLike = std::string(op) == "SolidFill" || std::string(op) == "OpaqueBlit";
      std::printf("%-11s %-8s %9.0f %9.2f %9.2f", op, side == 0 ? "240x320" : std::to_string(side).c_str(),
                  ours, sdl > 0 ? ours / sdl : 0.0, px > 0 ? ours / px : 0.0);
      if (copyLike && mem > 0) std::printf(" %8.0f%%", 100 * ours / mem);
      std::printf("\n");
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  setUp();
  for (const Entry& e : kEntries) {
    for (int side : kSizes) {
      benchmark::RegisterBenchmark(name(e.op, e.impl, side).c_str(), e.bench, side);
    }
  }
  benchmark::Initialize(&argc, argv);
  RateReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  printTable(reporter.rates);
  return 0;
}
