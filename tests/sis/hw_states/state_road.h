// A state-table row through the whole road: a window on the 16-bit screen,
// a double-buffered RGBA format with a depth buffer from ChoosePixelFormat,
// a context through the loader and whichever driver it opens, SwapBuffers,
// and the window read back from the screen.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

#include "tests/sis/hw_states/state_table.h"

namespace hwstates {

// 16 (5-6-5) or 15 (5-5-5) bits per pixel; false when refused.
bool SetDisplay(int bitsPerPixel);

// What the screen shows of the row's window, 0xAARRGGBB top row first, and
// GL_VENDOR of its context; false with the reason in *why. Front-buffer rows
// open a window over part of it first; *coverKept (when given) tells whether
// that window's pixels stayed as they were.
bool DrawState(const StateRow &row, std::vector<uint32_t> *argb, std::string *vendor,
               std::string *why, bool *coverKept = nullptr);

// GL_DEPTH_BITS of the last row's context.
int LastDepthBits();

// The screen's 0xAARRGGBB as the 16-bit pixel of the display it came from.
std::vector<uint16_t> ScreenPixels(const std::vector<uint32_t> &argb, int bitsPerPixel);

}  // namespace hwstates
