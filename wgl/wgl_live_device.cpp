// The device the driver runs: the SiS 6326. The soft driver library points
// this at the software-only device before its DllMain runs.
#include "sis/sis_device.h"

GlDevice *__glDevice = &__glSiSDevice;
