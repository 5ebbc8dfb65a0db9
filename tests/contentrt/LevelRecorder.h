#pragma once

// A game canvas that turns the level hooks back into a level description:
// the values the hooks get, and the game's fields read with levelReadBits
// at their places (after the header value, after each entity), their
// widths taken from the level that was written, as the game knows its own
// layout. Its thread waits to be shown; stop() ends it before the test
// ends.

#include <vector>

#include "LevelWriter.h"
#include "tq_TqCanvas.h"

namespace contentrt {

class LevelRecorder : public tq::TqCanvas {
  VM_CLASS(LevelRecorder, tq::TqCanvas)

 public:
  // A canvas without a MIDlet.
  static VMPtr<LevelRecorder> make();
  // Ends the canvas thread and waits for it.
  static void stop();

  // Loads level `resourceId` whose fields have the widths of `layout`; the
  // level read. What the hooks do not show (the filler flag, the entity
  // block's row length, origin and delta width) is taken from `layout`: a
  // wrong one shifts every later field. Cells read as the first palette
  // index of their code.
  content::Level read(int32_t resourceId, const content::Level& layout);

  void tick() override {}
  void paintFrame(VMPtr<Graphics>) override {}
  void levelHeader(int32_t value) override;
  void levelProperties(int32_t p8, int32_t columns, int32_t offset, int32_t p10a, int32_t p10b, int32_t extra,
                       int32_t paletteSize) override;
  void levelPaletteEntry(int32_t extra, int32_t code) override;
  void levelSize(int32_t width, int32_t height) override;
  void levelCell(int32_t x, int32_t y, int32_t code) override;
  void levelEntityGroup(int32_t type, int32_t count) override;
  void levelEntity(int32_t type, int32_t x, int32_t y) override;

 private:
  content::LevelFields readFields(const content::LevelFields& widths);

  const content::Level* layout_ = nullptr;
  content::Level level_;
  std::vector<int> codes_;  // palette codes, index 0 first
  size_t entity_ = 0;       // entities of the current group seen
};

// The level as it reads back: each cell's index replaced by the first index
// of the same palette code (index 0 for code 0).
content::Level withFirstIndices(content::Level level);

}  // namespace contentrt
