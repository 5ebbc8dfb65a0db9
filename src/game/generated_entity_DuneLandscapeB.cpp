#include "generated_entity_DuneLandscapeB.h"

VM_REGISTER_CLASS(generated::entity::DuneLandscapeB, "generated.entity.DuneLandscapeB", "", VM_INTERFACE);
