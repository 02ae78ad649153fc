// The soft driver library's one difference from the driver library: the
// software-only device is the live one. The loader calls DllMain only after
// the library is loaded, so this runs first.
#include "wgl/wgl_soft_device.h"

__attribute__((constructor)) static void UseSoftDevice() { __glDevice = &__glSoftDevice; }
