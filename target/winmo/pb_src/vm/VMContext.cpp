#include "VMContext.h"

VMContext* _VM_vm = nullptr;
