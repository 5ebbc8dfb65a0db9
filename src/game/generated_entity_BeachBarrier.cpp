#include "generated_entity_BeachBarrier.h"

VM_REGISTER_CLASS(generated::entity::BeachBarrier, "generated.entity.BeachBarrier", "", VM_INTERFACE);
