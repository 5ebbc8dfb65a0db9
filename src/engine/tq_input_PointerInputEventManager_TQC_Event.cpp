#include "tq_input_PointerInputEventManager_TQC_Event.h"

VM_REGISTER_CLASS(tq::input::PointerInputEventManager_TQC_Event, "tq.input.PointerInputEventManager$Event",
                  "java.lang.Object", 0);
