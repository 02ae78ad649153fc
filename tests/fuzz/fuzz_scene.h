// The end of a sequence: the fuzzed context's state brought back to the
// OpenGL defaults (stacks popped, every mode set to its initial value), then
// a reference scene that it must draw exactly as a fresh context does.
#pragma once

// Ends glBegin, list compilation and feedback or selection, pops every
// stack and sets every state the scene may meet to its default.
void FuzzResetState(bool doubleBuffered);
// The scene, in a width x height window, RGBA or colour index.
void FuzzDrawScene(int width, int height, bool rgba);
