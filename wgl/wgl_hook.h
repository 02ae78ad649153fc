// The per-thread window-message hook that keeps drawables in step with their
// windows: destruction, moves and resizes, display-mode and palette changes.
#pragma once

#include "platform/gdi.h"

LRESULT WINAPI __wglMonitorWindowChanges(int code, WPARAM wParam, LPARAM lParam);
// Forgets the last display mode seen (process detach).
void __wglResetDisplayMode(void);
