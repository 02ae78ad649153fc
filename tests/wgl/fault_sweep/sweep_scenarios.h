// The scenarios the fault sweep runs: each prepares a window (and what else
// it needs) without faults, then acts while a fault is armed, ending with a
// frame on screen when nothing failed.
#pragma once

#include <GL/gl.h>

#include <string>
#include <vector>

#include "platform/vlxdesktop.h"

// What one run of a scenario holds; Release gives it all back.
struct SweepWorld {
  HWND hwnd = nullptr;
  HDC hdc = nullptr;
  HGLRC rc = nullptr;
  bool doubleBuffered = true;
  GLuint texture = 0;
  GLuint list = 0;
  bool modeChanged = false;  // the act left the 16-bit display mode
    std::vector<std::string> problems;  // rules the act saw broken
  bool reportedFailure = false;  // an entry or GL error reported a failure

  // Records an entry's result: a FALSE or null result must come with a
  // last-error value or the driver's message.
  bool Entry(bool ok, const char *what);
  // Reads every pending GL error: each must be an OpenGL error value. True
  // when there was none.
  bool GlErrors(const char *what);
  void Release();
};

struct SweepScenario {
  const char *name;
  bool doubleBuffered;
  // Without faults: the window and what the act needs. False: not possible.
  bool (*prepare)(SweepWorld &w);
  // Under the armed fault. Ends with the frame shown when nothing failed.
  void (*act)(SweepWorld &w);
};

extern const SweepScenario kSweepScenarios[];
extern const size_t kSweepScenarioCount;

// The window's pixels (empty when they cannot be read).
std::vector<unsigned> SweepReadFrame(HWND hwnd);
