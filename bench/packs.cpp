// Resource packs and level streams, side by side with the natural
// alternative:
//
//   LoadChunkedPack / FreadChunkedPack: a chunked pack of 2 MiB of data
//       split over two part files (its main file holds the index), opened
//       through Resources, against fread of the same three files into new
//       buffers.
//   LoadSimplePack / FreadSimplePack: a simple pack of 2 MiB, against fread
//       of its file.
//   StreamEveryResource / SliceEveryResource: every resource of a pack of
//       1,000 resources through Resources::getStream (each a stream over its
//       slice, after summing the sizes before it), against a pointer and a
//       length per resource from a table of offsets.
//   LoadLevel / PlainBitReader: a 256 x 20 level with 200 entities decoded
//       through loadLevel into empty hooks, against a plain MSB-first bit
//       reader making the same reads over the same bytes.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "PackFixtures.h"
#include "VMTestEnv.h"
#include "tq_Resources.h"
#include "tq_TqCanvas.h"

using namespace pack_fixtures;
using tq::Resources;

namespace bench {

class EmptyCanvas : public tq::TqCanvas {
  VM_CLASS(EmptyCanvas, tq::TqCanvas)

 public:
  void tick() override {}
  void paintFrame(VMPtr<Graphics>) override {}
};

}  // namespace bench

VM_REGISTER_CLASS(bench::EmptyCanvas, "bench.EmptyCanvas", "tq.TqCanvas", 0);

namespace {

constexpr size_t kPackBytes = 2u << 20;

ProgramFolder& folder() {
  static ProgramFolder* f = [] {
    auto* created = new ProgramFolder();
    VMTestEnv::start();
    return created;
  }();
  return *f;
}

Bytes filled(size_t n, uint8_t seed) {
  Bytes b(n);
  for (size_t i = 0; i < n; ++i) b[i] = static_cast<uint8_t>(seed + i);
  return b;
}

// `count` resources of `each` bytes.
std::vector<Bytes> items(size_t count, size_t each) {
  std::vector<Bytes> out;
  for (size_t i = 0; i < count; ++i) out.push_back(filled(each, static_cast<uint8_t>(i)));
  return out;
}

void writeChunkedPack() {
  const std::vector<Bytes> resources = items(64, kPackBytes / 64);
  const Bytes index = simplePack(resources, Bytes(64, 0), 0x41, false);
  const Bytes data = cat(resources);
  const uint32_t half = kPackBytes / 2;
  folder().put("RP3.rp", chunkedFile({chunk("RPHe", index), chunk("FSLM", splitMapBody(kPackBytes, {half, half}))}));
  folder().put("RP3part1.rp", Bytes(data.begin(), data.begin() + half));
  folder().put("RP3part2.rp", Bytes(data.begin() + half, data.end()));
}

// Each file into a new zero-filled buffer, as a load makes a new array.
size_t freadAll(const std::vector<std::string>& names) {
  size_t total = 0;
  for (const std::string& name : names) {
    std::vector<uint8_t> buffer;
    FILE* f = std::fopen((folder().root() / "rsc" / name).c_str(), "rb");
    std::fseek(f, 0, SEEK_END);
    buffer.resize(static_cast<size_t>(std::ftell(f)));
    std::fseek(f, 0, SEEK_SET);
    total += std::fread(buffer.data(), 1, buffer.size(), f);
    std::fclose(f);
  }
  return total;
}

void LoadChunkedPack(benchmark::State& state) {
  writeChunkedPack();
  for (auto _ : state) {
    Resources::closePack();
    benchmark::DoNotOptimize(Resources::getSize(3 * 1024));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kPackBytes));
}
BENCHMARK(LoadChunkedPack)->Unit(benchmark::kMillisecond);

void FreadChunkedPack(benchmark::State& state) {
  writeChunkedPack();
  for (auto _ : state) benchmark::DoNotOptimize(freadAll({"RP3.rp", "RP3part1.rp", "RP3part2.rp"}));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kPackBytes));
}
BENCHMARK(FreadChunkedPack)->Unit(benchmark::kMillisecond);

void LoadSimplePack(benchmark::State& state) {
  folder().put("RP2.rp", simplePack(items(64, kPackBytes / 64), Bytes(64, 0)));
  for (auto _ : state) {
    Resources::closePack();
    benchmark::DoNotOptimize(Resources::getSize(2 * 1024));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kPackBytes));
}
BENCHMARK(LoadSimplePack)->Unit(benchmark::kMillisecond);

void FreadSimplePack(benchmark::State& state) {
  folder().put("RP2.rp", simplePack(items(64, kPackBytes / 64), Bytes(64, 0)));
  for (auto _ : state) benchmark::DoNotOptimize(freadAll({"RP2.rp"}));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kPackBytes));
}
BENCHMARK(FreadSimplePack)->Unit(benchmark::kMillisecond);

constexpr int32_t kResources = 1000;

void StreamEveryResource(benchmark::State& state) {
  folder().put("RP20.rp", simplePack(items(kResources, 100), Bytes(kResources, 0)));
  Resources::closePack();
  Resources::getSize(20 * 1024);
  for (auto _ : state) {
    for (int32_t i = 0; i < kResources; ++i) benchmark::DoNotOptimize(Resources::getStream(20 * 1024 + i)->read());
  }
  state.SetItemsProcessed(state.iterations() * kResources);
}
BENCHMARK(StreamEveryResource)->Unit(benchmark::kMicrosecond);

void SliceEveryResource(benchmark::State& state) {
  const Bytes data = cat(items(kResources, 100));
  std::vector<uint32_t> offsets(kResources);
  for (int32_t i = 0; i < kResources; ++i) offsets[static_cast<size_t>(i)] = static_cast<uint32_t>(i) * 100;
  for (auto _ : state) {
    for (int32_t i = 0; i < kResources; ++i) {
      const uint8_t* slice = data.data() + offsets[static_cast<size_t>(i)];
      benchmark::DoNotOptimize(slice[0]);
    }
  }
  state.SetItemsProcessed(state.iterations() * kResources);
}
BENCHMARK(SliceEveryResource)->Unit(benchmark::kMicrosecond);

// Writes values most significant bit first.
class BitWriter {
 public:
  void put(uint32_t value, int width) {
    for (int i = width - 1; i >= 0; --i) {
      if (used_ % 8 == 0) bytes_.push_back(0);
      if ((value >> i) & 1) bytes_.back() |= static_cast<uint8_t>(0x80 >> (used_ % 8));
      ++used_;
    }
  }
  const Bytes& bytes() const { return bytes_; }

 private:
  Bytes bytes_;
  int used_ = 0;
};

// The level: 16 palette codes, 256 x 20 cells of 5 bits, one group of 200
// entities with 8-bit deltas. `reads` gets the width of every read in order.
Bytes level(std::vector<int>* reads) {
  BitWriter b;
  auto put = [&](uint32_t v, int w) {
    b.put(v, w);
    reads->push_back(w);
  };
  put(0, 8);
  put(1, 1);
  put(0, 10);
  put(1, 1);
  for (int w : {8, 12, 17, 10, 10}) put(w == 12 ? 16 : 1, w);
  put(0, 1);
  put(16, 12);
  put(5, 4);
  for (uint32_t i = 1; i <= 16; ++i) put(i, 5);
  put(256, 12);
  put(20, 12);
  for (int i = 0; i < 256 * 20; ++i) put(static_cast<uint32_t>(i % 17), 5);
  put(1, 1);
  for (int w : {16, 10, 10, 10, 5}) put(w == 16 ? 256 : (w == 10 ? 1 : 8), w);
  put(3, 10);
  put(200, 12);
  for (int i = 0; i < 200; ++i) put(static_cast<uint32_t>(i % 200), 8);
  return b.bytes();
}

void LoadLevel(benchmark::State& state) {
  std::vector<int> reads;
  folder().put("RP2.rp", simplePack({level(&reads)}, {0}));
  VMPtr<bench::EmptyCanvas> canvas = bench::EmptyCanvas::_VM_new();
  canvas->_VM_init(VMPtr<javax::microedition::midlet::MIDlet>());
  Resources::closePack();
  for (auto _ : state) canvas->loadLevel(2048);
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(reads.size()));
  tq::TqCanvas::runState = 4;
}
BENCHMARK(LoadLevel)->Unit(benchmark::kMicrosecond);

void PlainBitReader(benchmark::State& state) {
  std::vector<int> reads;
  const Bytes bytes = level(&reads);
  for (auto _ : state) {
    size_t bit = 0;
    uint32_t sum = 0;
    for (int width : reads) {
      uint32_t v = 0;
      for (int i = 0; i < width; ++i, ++bit) v = v << 1 | ((bytes[bit >> 3] >> (7 - (bit & 7))) & 1);
      sum += v;
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(reads.size()));
}
BENCHMARK(PlainBitReader)->Unit(benchmark::kMicrosecond);

}  // namespace
