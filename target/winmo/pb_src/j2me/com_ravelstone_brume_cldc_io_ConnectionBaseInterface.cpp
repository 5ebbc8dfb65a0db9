#include "com_ravelstone_brume_cldc_io_ConnectionBaseInterface.h"

VM_REGISTER_CLASS(com::ravelstone::brume::cldc::io::ConnectionBaseInterface, "com.ravelstone.brume.cldc.io.ConnectionBaseInterface", "java.lang.Object", VM_INTERFACE);
