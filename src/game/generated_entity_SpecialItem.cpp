#include "generated_entity_SpecialItem.h"

// Registered with an empty superclass name, as every interface of the build.

VM_REGISTER_CLASS(generated::entity::SpecialItem, "generated.entity.SpecialItem", "", VM_INTERFACE);
