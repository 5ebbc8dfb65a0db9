#include "generated_LevelEntity.h"

VM_REGISTER_CLASS(generated::LevelEntity, "generated.LevelEntity", "", VM_INTERFACE);
