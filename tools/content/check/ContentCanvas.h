#pragma once

#include <cstdint>
#include <vector>

#include "Manifest.h"
#include "tq_TqCanvas.h"

namespace content::check {

// The canvas the validator reads levels and text tables with: it draws
// nothing, and its level hooks read the game's fields that the manifest
// declares for the level being read (after the header value and after
// each entity) and count every bit the stream gives.
class ContentCanvas : public tq::TqCanvas {
  VM_CLASS(ContentCanvas, tq::TqCanvas)

 public:
  // The one canvas of the process, made on first use.
  static VMPtr<ContentCanvas> shared();

  void tick() override {}
  void paintFrame(VMPtr<Graphics>) override {}
  int32_t levelReadBits(int32_t n) override;
  void levelHeader(int32_t value) override;
  void levelEntity(int32_t type, int32_t x, int32_t y) override;

  // Reads level `id` with the fields of `resource`; the bits it took.
  int64_t readLevel(const ManifestResource& resource);

 private:
  void readFields(const std::vector<int>& widths);

  const ManifestResource* level_ = nullptr;
  int64_t bits_ = 0;
};

}  // namespace content::check
