#include "generated_entity_DuneBarrier.h"

VM_REGISTER_CLASS(generated::entity::DuneBarrier, "generated.entity.DuneBarrier", "", VM_INTERFACE);
