#include "KeyRegionFixture.h"

VM_REGISTER_CLASS(keyregions::RecordingCanvas, "keyregions.RecordingCanvas", "enginetest.ProbeCanvas", 0);
