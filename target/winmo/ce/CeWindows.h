#pragma once

// Everything of the stand-in for the phone system that the platform layer
// calls by the phone's names: types, window manager, display and shell,
// registry, drawing and process services.
#include "CeDisplay.h"
#include "CeGdi.h"
#include "CeProcess.h"
#include "CeRegistry.h"
#include "CeTypes.h"
#include "CeWindowManager.h"
