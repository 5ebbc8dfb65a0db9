#include "generated_entity_MountainBarrier.h"

VM_REGISTER_CLASS(generated::entity::MountainBarrier, "generated.entity.MountainBarrier", "", VM_INTERFACE);
