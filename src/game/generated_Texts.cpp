#include "generated_Texts.h"

VM_REGISTER_CLASS(generated::Texts, "generated.Texts", "", VM_INTERFACE);
