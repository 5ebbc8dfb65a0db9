#include "generated_entity_FieldBarrier.h"

VM_REGISTER_CLASS(generated::entity::FieldBarrier, "generated.entity.FieldBarrier", "", VM_INTERFACE);
