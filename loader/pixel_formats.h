// The driver's pixel formats as the loader checks them.
#pragma once

#include "loader/driver.h"

// How many pixel formats the driver has for the device context.
int PixelFormatCount(const DriverEntries &driver, HDC hdc);
// True when the number names one of them; otherwise false with
// ERROR_INVALID_PIXEL_FORMAT, or with the driver's own last error when it
// gave no formats at all.
bool PixelFormatKnown(const DriverEntries &driver, HDC hdc, int pixelFormat);
