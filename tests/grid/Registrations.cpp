// The engine tests' fixture classes and this program's own.
#include "../engine/EngineFixture.cpp"

#include "GridFixtures.h"

VM_REGISTER_CLASS(gridtest::Probe, "gridtest.Probe", "tq.Paintable", 0);
VM_REGISTER_CLASS(gridtest::BlinkingPlayer, "gridtest.BlinkingPlayer", "tq.AnimPlayer", 0);
