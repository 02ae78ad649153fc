// What the thread tests draw and how they look at it: windows in places of
// their own on the screen, a pixel format chosen as an application would,
// a few different frames, and the window's pixels read back.
#pragma once

#include <vector>

#include "platform/vlxdesktop.h"

// Windows are small and never overlap, so each one's pixels are its own.
constexpr int kSceneWidth = 40;
constexpr int kSceneHeight = 28;
// How many different frames DrawSceneFrame knows.
constexpr int kSceneVariants = 4;

// The screen rectangle of window slot `slot` (0 .. 59): a grid clear of the
// others.
int SceneSlotX(int slot);
int SceneSlotY(int slot);

typedef std::vector<unsigned> ScenePixels;

// A window of the calling thread in `slot`.
HWND CreateSceneWindow(int slot);
// Chooses and sets a pixel format with a depth buffer on the device context,
// double-buffered or not; gives the number, 0 on failure.
int SetScenePixelFormat(HDC hdc, bool doubleBuffered);

// Draws frame `variant` with the context current on the calling thread:
// viewport, matrices, clear, depth-tested smooth triangles; then swaps
// (double-buffered) or finishes (single-buffered).
void DrawSceneFrame(HDC hdc, int variant, bool doubleBuffered);

// The window's client pixels as the screen shows them (empty on failure).
ScenePixels ReadScene(HWND hwnd);

// How many pixels differ, and where the first one is, for messages.
struct SceneDifference {
  int count;
  int x, y;
  unsigned want, got;
};
SceneDifference CompareScenes(const ScenePixels &want, const ScenePixels &got);

// Draws every variant with a context of its own on the calling thread and
// reads each frame back: the images a window of this format shows for them.
// The context is deleted afterwards; nothing stays current.
std::vector<ScenePixels> DrawReferenceScenes(HWND hwnd, HDC hdc, bool doubleBuffered);
