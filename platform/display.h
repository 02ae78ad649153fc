// Internal: what a display-mode change tells the DirectDraw and
// display-information stand-ins. Callers hold ScreenLock().
#pragma once

#include <stdint.h>

#include <vector>

namespace platform {

// Increases at every display-mode change; a surface made under another
// serial cannot be restored.
uint32_t ScreenModeSerial();

// Marks video-memory and primary surfaces lost. `dropped` lists the local
// video-memory offsets that the new screen footprint took over.
void SurfacesLoseAll(const std::vector<uint32_t> &dropped);

// Brings the display-information block up to date with the screen.
void DisplayInformationRefresh();

}  // namespace platform
