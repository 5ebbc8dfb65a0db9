#include "generated_entity_CaveBarrier.h"

VM_REGISTER_CLASS(generated::entity::CaveBarrier, "generated.entity.CaveBarrier", "", VM_INTERFACE);
