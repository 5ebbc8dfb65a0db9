#pragma once

// The play packs' rules (docs/content.md, "Rules"): what the play scene,
// its game objects and its barriers take for granted of their sets and of
// a level. Each gives the problems it finds, one text per fault; the
// validator reports them under the resource.

#include <string>
#include <vector>

#include "ByteWriter.h"
#include "Manifest.h"
#include "tq_AnimSet.h"

namespace content::check {

// game-object: every frame has a box 0 whose type is an effect (0 to 7);
// every frame has one and the same bounding box, with the drawing
// position at its bottom-left corner (x 0, bottom 0). `set` has its
// sprites attached. With `mainObject` the set also has the twelve
// animations a main object switches between.
std::vector<std::string> gameObjectProblems(VMPtr<tq::AnimSet> set, bool mainObject);

// The game's fields of a level (header and entities), as a play-level
// resource implies them.
ManifestResource withGameFields(const ManifestResource& level);

// play-level: the level `id` (its bytes), read with the game's fields: a
// header block; 16 x 16 cells on a one-row tile sheet (a positive id, an
// image 16 pixels high and 16 per palette column) whose palette is no
// longer than its row; at most 20 rows and 15 to 1023 columns; the group's
// far image 240 x 320; positions in map pixels (row length the map's
// pixel width, origin 0, 0) and inside the map; one group per family and
// no text list; both start points, each above a platform; every barrier's
// and landscape piece's sets present, a thrower's (kind 5) children at
// its sets' ids + 1, and room among the map's sprites for the children of
// every thrower (kinds 2 and 5).
std::vector<std::string> playLevelProblems(int id, const Bytes& level);

}  // namespace content::check
