#include "EngineFixture.h"

VM_REGISTER_CLASS(enginetest::ProbeCanvas, "enginetest.ProbeCanvas", "tq.TqCanvas", 0);
VM_REGISTER_CLASS(enginetest::ProbeMIDlet, "enginetest.ProbeMIDlet", "javax.microedition.midlet.MIDlet", 0);
