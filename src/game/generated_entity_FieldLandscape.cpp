#include "generated_entity_FieldLandscape.h"

VM_REGISTER_CLASS(generated::entity::FieldLandscape, "generated.entity.FieldLandscape", "", VM_INTERFACE);
