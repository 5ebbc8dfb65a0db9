#include "generated_prop_PropNum.h"

VM_REGISTER_CLASS(generated::prop::PropNum, "generated.prop.PropNum", "", VM_INTERFACE);
