// "DCIMAN32.DLL": the DCI primary surface as a view of the screen's memory,
// and WinWatch over the window model's visible regions. As on the platform,
// the Windows 95 provider hands out a selector with offset 0, the NT one a
// linear address.
#include <algorithm>
#include <map>
#include <memory>
#include <mutex>

#include "platform/control.h"
#include "platform/dci.h"
#include "platform/display.h"
#include "platform/fault.h"
#include "platform/kernel.h"
#include "platform/screen.h"
#include "platform/window_system.h"

namespace platform {
namespace {

using Hold = std::lock_guard<std::recursive_mutex>;

struct DciSurface {
  DCISURFACEINFO info;  // first: handed out by address
  uint32_t modeSerial;  // the display mode the record describes
  bool selector;
};

struct Watch {
  HWND hwnd;
  bool fetched = false;
  uint32_t seen = 0;  // the clip generation of the last filled clip list
};

struct Dci {
  std::map<const DCISURFACEINFO *, std::unique_ptr<DciSurface>> surfaces;
  std::map<uintptr_t, Watch> watches;
};

Dci &State() {
  static Dci *dci = new Dci;  // never destroyed: calls may come late at exit
  return *dci;
}

DciSurface *FindSurface(const DCISURFACEINFO *info) {
  auto it = State().surfaces.find(info);
  return it == State().surfaces.end() ? nullptr : it->second.get();
}

Watch *FindWatch(HWINWATCH watch) {
  auto it = State().watches.find(Key(watch));
  return it == State().watches.end() ? nullptr : &it->second;
}

bool Windows95() {
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof version;
  return GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}

// Describes the screen as it is now.
void Describe(DciSurface *s) {
  ScreenMode mode = CurrentScreenMode();
  DCISURFACEINFO &info = s->info;
  info.dwSize = sizeof(DCISURFACEINFO);
  info.dwDCICaps = DCI_PRIMARY | DCI_VISIBLE;
  info.dwCompression = mode.bitsPerPixel == 16 ? BI_BITFIELDS : BI_RGB;
  uint32_t masks[3];
  ScreenModeMasks(mode, &masks[0], &masks[1], &masks[2]);
  for (int i = 0; i < 3; ++i) info.dwMask[i] = masks[i];
  info.dwWidth = mode.width;
  info.dwHeight = mode.height;
  info.lStride = mode.pitch;
  info.dwBitCount = ReportedBitsPerPixel(mode);
  info.dwOffSurface = s->selector ? 0 : reinterpret_cast<ULONG_PTR>(VideoMemoryBase());
  info.wSelSurface = s->selector ? ScreenSelector() : 0;
  s->modeSerial = ScreenModeSerial();
}

DCIRVAL WINAPI BeginAccessCallback(LPVOID surface, LPRECT rect) {
  if (rect == nullptr) return DCI_ERR_INVALIDRECT;
  return DCIBeginAccess(static_cast<LPDCISURFACEINFO>(surface), rect->left, rect->top,
                        rect->right - rect->left, rect->bottom - rect->top);
}

void WINAPI EndAccessCallback(LPVOID surface) { DCIEndAccess(static_cast<LPDCISURFACEINFO>(surface)); }

void WINAPI DestroyCallback(LPVOID surface) { DCIDestroy(static_cast<LPDCISURFACEINFO>(surface)); }

// A DCI call's own failure code when a fault is armed for it.
bool DciFails(const char *call, int usual, int *result) {
  DWORD error = 0;
  if (!ShouldFail(call, nullptr, static_cast<DWORD>(usual), &error)) return false;
  *result = static_cast<int>(error);
  return true;
}

const PlatformExport kExports[] = {
    {"DCIOpenProvider", reinterpret_cast<void *>(&DCIOpenProvider)},
    {"DCICloseProvider", reinterpret_cast<void *>(&DCICloseProvider)},
    {"DCICreatePrimary", reinterpret_cast<void *>(&DCICreatePrimary)},
    {"DCIDestroy", reinterpret_cast<void *>(&DCIDestroy)},
    {"WinWatchOpen", reinterpret_cast<void *>(&WinWatchOpen)},
    {"WinWatchClose", reinterpret_cast<void *>(&WinWatchClose)},
    {"WinWatchGetClipList", reinterpret_cast<void *>(&WinWatchGetClipList)},
    {"WinWatchDidStatusChange", reinterpret_cast<void *>(&WinWatchDidStatusChange)},
    {"DCIBeginAccess", reinterpret_cast<void *>(&DCIBeginAccess)},
    {"DCIEndAccess", reinterpret_cast<void *>(&DCIEndAccess)},
};

__attribute__((constructor)) void RegisterDciLibrary() {
  PlatformRegisterModule("DCIMAN32.DLL", kExports, sizeof kExports / sizeof kExports[0]);
}

}  // namespace
}  // namespace platform

using namespace platform;

PLATFORM_API HDC WINAPI DCIOpenProvider(void) {
  if (FailWithLastError("DCIOpenProvider", nullptr, ERROR_NOT_SUPPORTED)) return nullptr;
  HDC hdc = GetDC(nullptr);
  if (hdc == nullptr) return nullptr;
  Hold hold(ScreenLock());
  FindDC(hdc)->provider = true;
  return hdc;
}

PLATFORM_API void WINAPI DCICloseProvider(HDC hdc) {
  Hold hold(ScreenLock());
  const DeviceContext *dc = FindDC(hdc);
  if (dc != nullptr && dc->provider) Ws().dcs.erase(Key(hdc));
}

PLATFORM_API int WINAPI DCICreatePrimary(HDC hdc, LPDCISURFACEINFO *surface) {
  if (surface == nullptr) return DCI_FAIL_GENERIC;
  *surface = nullptr;
  int failure;
  if (DciFails("DCICreatePrimary", DCI_FAIL_UNSUPPORTED, &failure)) return failure;
  bool selector = Windows95();
  Hold hold(ScreenLock());
  const DeviceContext *dc = FindDC(hdc);
  if (dc == nullptr || !dc->provider) return DCI_FAIL_GENERIC;
  std::unique_ptr<DciSurface> s(new DciSurface());
  s->selector = selector;
  Describe(s.get());
  s->info.BeginAccess = &BeginAccessCallback;
  s->info.EndAccess = &EndAccessCallback;
  s->info.DestroySurface = &DestroyCallback;
  *surface = &s->info;
  State().surfaces.emplace(&s->info, std::move(s));
  return DCI_OK;
}

PLATFORM_API void WINAPI DCIDestroy(LPDCISURFACEINFO surface) {
  Hold hold(ScreenLock());
  State().surfaces.erase(surface);
}

PLATFORM_API DCIRVAL WINAPI DCIBeginAccess(LPDCISURFACEINFO surface, int x, int y, int width,
                                           int height) {
  int failure;
  if (DciFails("DCIBeginAccess", DCI_ERR_CURRENTLYNOTAVAIL, &failure)) return failure;
  Hold hold(ScreenLock());
  DciSurface *s = FindSurface(surface);
  if (s == nullptr) return DCI_FAIL_INVALIDSURFACE;
  // A rectangle may reach past the screen (a window partly off it), not be negative.
  if (width < 0 || height < 0 || x > INT32_MAX - width || y > INT32_MAX - height)
    return DCI_ERR_INVALIDRECT;
  if (s->modeSerial == ScreenModeSerial()) return DCI_OK;
  Describe(s);
  return DCI_STATUS_POINTERCHANGED | DCI_STATUS_STRIDECHANGED | DCI_STATUS_FORMATCHANGED |
         DCI_STATUS_SURFACEINFOCHANGED;
}

// Access takes no lock here, so ending it has nothing to release.
PLATFORM_API void WINAPI DCIEndAccess(LPDCISURFACEINFO) {}

PLATFORM_API HWINWATCH WINAPI WinWatchOpen(HWND hwnd) {
  if (FailWithLastError("WinWatchOpen", nullptr, ERROR_NOT_ENOUGH_MEMORY)) return nullptr;
  Hold hold(ScreenLock());
  if (FindWindow(hwnd) == nullptr) return SetLastError(ERROR_INVALID_WINDOW_HANDLE), nullptr;
  HWINWATCH watch = reinterpret_cast<HWINWATCH>(NewHandle());
  Watch w;
  w.hwnd = hwnd;
  State().watches.emplace(Key(watch), w);
  return watch;
}

PLATFORM_API void WINAPI WinWatchClose(HWINWATCH watch) {
  Hold hold(ScreenLock());
  State().watches.erase(Key(watch));
}

PLATFORM_API UINT WINAPI WinWatchGetClipList(HWINWATCH watch, LPRECT clip, UINT size, LPRGNDATA data) {
  if (ShouldFail("WinWatchGetClipList", nullptr, 0, nullptr)) return 0;
  Hold hold(ScreenLock());
  Watch *w = FindWatch(watch);
  if (w == nullptr) return 0;
  std::vector<RECT> rects;
  RECT client;
  if (WindowClientScreenRect(w->hwnd, &client)) {
    RECT limit = client;
    // Any clip rectangle: moved in 64 bits and held to what a RECT keeps,
    // which cuts the screen's rectangles just the same.
    auto moved = [](LONG origin, LONG value) {
      return static_cast<LONG>(std::clamp<int64_t>(int64_t(origin) + value, INT32_MIN, INT32_MAX));
    };
    if (clip != nullptr)
      limit = {moved(client.left, clip->left), moved(client.top, clip->top), moved(client.left, clip->right),
               moved(client.top, clip->bottom)};
    rects = ClipRectsTo(WindowVisibleRects(w->hwnd), &limit);
  }
  UINT need = RegionDataSize(rects.size());
  if (data != nullptr && size >= need) {
    WriteRegionData(rects, data);
    w->fetched = true;
    w->seen = WindowClipGeneration();
  }
  return need;
}

PLATFORM_API BOOL WINAPI WinWatchDidStatusChange(HWINWATCH watch) {
  Hold hold(ScreenLock());
  const Watch *w = FindWatch(watch);
  if (w == nullptr) return FALSE;
  return !w->fetched || w->seen != WindowClipGeneration();
}
