#include "generated_entity_CaveLandscapeB.h"

VM_REGISTER_CLASS(generated::entity::CaveLandscapeB, "generated.entity.CaveLandscapeB", "", VM_INTERFACE);
