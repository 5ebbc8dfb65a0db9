#include "tq_input_PointerInputKeyManager_TQC_KeyState.h"

VM_REGISTER_CLASS(tq::input::PointerInputKeyManager_TQC_KeyState, "tq.input.PointerInputKeyManager$KeyState",
                  "java.lang.Object", 0);
