// The end-to-end scene: overlapping smooth-shaded triangles, depth-tested,
// on a cleared window. The same source is built twice: against the system's
// GL header for programs that go through the loader, and against the core's
// own entries for the reference drawn into plain memory.
#pragma once

// Draws the scene into the viewport (0, 0, width, height) of the current
// context and waits until it is done. Dithering is on unless turned off.
void DrawE2eScene(int viewportWidth, int viewportHeight, bool dither = true);
