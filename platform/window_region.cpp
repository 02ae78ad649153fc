// The visible region of a window: its client area cut to the screen, less
// every visible window above it, as non-overlapping rectangles in bands.
#include <string.h>

#include <algorithm>
#include <mutex>
#include <utility>

#include "platform/screen.h"
#include "platform/window_system.h"

namespace platform {
namespace {

// `area` less the union of `covers` (each already inside `area`), in bands
// from top to bottom; equal neighbouring bands are joined as regions keep them.
std::vector<RECT> Subtract(const RECT &area, const std::vector<RECT> &covers) {
  std::vector<LONG> ys = {area.top, area.bottom};
  for (const RECT &c : covers) {
    ys.push_back(c.top);
    ys.push_back(c.bottom);
  }
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());

  struct Band {
    LONG top, bottom;
    std::vector<std::pair<LONG, LONG>> spans;
  };
  std::vector<Band> bands;
  for (size_t i = 0; i + 1 < ys.size(); ++i) {
    LONG y0 = ys[i], y1 = ys[i + 1];
    std::vector<std::pair<LONG, LONG>> cut;
    for (const RECT &c : covers)
      if (c.top <= y0 && c.bottom >= y1) cut.emplace_back(c.left, c.right);
    std::sort(cut.begin(), cut.end());
    std::vector<std::pair<LONG, LONG>> spans;
    LONG x = area.left;
    for (const auto &span : cut) {
      if (span.first > x) spans.emplace_back(x, span.first);
      x = std::max(x, span.second);
    }
    if (x < area.right) spans.emplace_back(x, area.right);
    if (spans.empty()) continue;
    if (!bands.empty() && bands.back().bottom == y0 && bands.back().spans == spans)
      bands.back().bottom = y1;
    else
      bands.push_back({y0, y1, spans});
  }
  std::vector<RECT> rects;
  for (const Band &band : bands)
    for (const auto &span : band.spans) rects.push_back({span.first, band.top, span.second, band.bottom});
  return rects;
}

}  // namespace

std::vector<RECT> WindowVisibleRects(HWND hwnd) {
  std::lock_guard<std::recursive_mutex> hold(ScreenLock());
  WindowSystem &ws = Ws();
  const Window *window = FindWindow(hwnd);
  if (window == nullptr || !window->visible) return {};
  ScreenMode mode = CurrentScreenMode();
  RECT screen = {0, 0, mode.width, mode.height};
  RECT area = RectIntersection(window->rect, screen);
  if (RectIsEmpty(area)) return {};
  std::vector<RECT> covers;
  for (HWND above : ws.zOrder) {
    if (above == hwnd) break;
    const Window *other = FindWindow(above);
    if (other == nullptr || !other->visible) continue;
    RECT c = RectIntersection(other->rect, area);
    if (!RectIsEmpty(c)) covers.push_back(c);
  }
  return Subtract(area, covers);
}

bool WindowClientScreenRect(HWND hwnd, RECT *rect) {
  std::lock_guard<std::recursive_mutex> hold(ScreenLock());
  const Window *window = FindWindow(hwnd);
  if (window == nullptr) return false;
  if (rect) *rect = window->rect;
  return true;
}

uint32_t WindowClipGeneration() {
  std::lock_guard<std::recursive_mutex> hold(ScreenLock());
  return Ws().clipGeneration;
}

std::vector<RECT> ClipRectsTo(const std::vector<RECT> &rects, const RECT *limit) {
  std::vector<RECT> out;
  for (const RECT &r : rects) {
    RECT c = limit ? RectIntersection(r, *limit) : r;
    if (!RectIsEmpty(c)) out.push_back(c);
  }
  return out;
}

DWORD RegionDataSize(size_t count) {
  return static_cast<DWORD>(sizeof(RGNDATAHEADER) + count * sizeof(RECT));
}

void WriteRegionData(const std::vector<RECT> &rects, RGNDATA *out) {
  RGNDATAHEADER &h = out->rdh;
  h.dwSize = sizeof(RGNDATAHEADER);
  h.iType = RDH_RECTANGLES;
  h.nCount = static_cast<DWORD>(rects.size());
  h.nRgnSize = static_cast<DWORD>(rects.size() * sizeof(RECT));
  h.rcBound = {0, 0, 0, 0};
  for (size_t i = 0; i < rects.size(); ++i) {
    const RECT &r = rects[i];
    if (i == 0) {
      h.rcBound = r;
    } else {
      h.rcBound.left = std::min(h.rcBound.left, r.left);
      h.rcBound.top = std::min(h.rcBound.top, r.top);
      h.rcBound.right = std::max(h.rcBound.right, r.right);
      h.rcBound.bottom = std::max(h.rcBound.bottom, r.bottom);
    }
  }
  // Byte copy: the rectangles follow the header without any alignment promise.
  if (!rects.empty()) memcpy(out->Buffer, rects.data(), rects.size() * sizeof(RECT));
}

}  // namespace platform
