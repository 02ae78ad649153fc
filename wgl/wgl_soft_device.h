// The software-only device: the core's own back end with the generic
// pixel-format list and buffer kinds. It serves the paths the SiS device
// never takes (the generic list, the DCI set) and every test of the layer.
#pragma once

#include "core/device.h"

extern GlDevice __glSoftDevice;

// New window drawables of the software-only device take the DCI set while
// this environment variable is "dci", the DirectDraw set otherwise; it is
// read at each drawable's creation.
#define VLX_SOFT_BUFFER_SET_ENV "VLX_SOFT_BUFFER_SET"
