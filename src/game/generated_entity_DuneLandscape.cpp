#include "generated_entity_DuneLandscape.h"

VM_REGISTER_CLASS(generated::entity::DuneLandscape, "generated.entity.DuneLandscape", "", VM_INTERFACE);
