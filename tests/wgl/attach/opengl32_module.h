// The "opengl32.dll" the driver asks GDI's pixel-format questions through,
// for tests that do not load the loader: it answers from the platform's
// recorded format number and the driver's own DrvDescribePixelFormat.
#pragma once

// Registers the module (again, replacing any earlier one); false when the
// platform refuses it.
bool RegisterOpenGl32Module();
