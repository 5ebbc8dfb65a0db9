#include "generated_entity_CaveLandscape.h"

VM_REGISTER_CLASS(generated::entity::CaveLandscape, "generated.entity.CaveLandscape", "", VM_INTERFACE);
