#include "generated_entity_SpecialItem.h"

VM_REGISTER_CLASS(generated::entity::SpecialItem, "generated.entity.SpecialItem", "", VM_INTERFACE);
