#include "generated_RP.h"

VM_REGISTER_CLASS(generated::RP, "generated.RP", "", VM_INTERFACE);
