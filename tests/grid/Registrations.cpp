// The engine tests' fixture classes and this program's own.
#include "../engine/EngineFixture.cpp"

#include "GridCanvas.h"
#include "GridFixtures.h"

VM_REGISTER_CLASS(gridtest::Probe, "gridtest.Probe", "tq.Paintable", 0);
VM_REGISTER_CLASS(gridtest::BlinkingPlayer, "gridtest.BlinkingPlayer", "tq.AnimPlayer", 0);
VM_REGISTER_CLASS(gridtest::GridCanvas, "gridtest.GridCanvas", "enginetest.ProbeCanvas", 0);
