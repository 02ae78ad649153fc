// Internal: the records behind window-manager and GDI handles, shared by the
// window, device-context, bitmap, palette, drawing, hook and DCI files.
// Everything here is read and written only under platform::ScreenLock().
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <deque>
#include <map>
#include <vector>

#include "platform/gdi.h"
#include "platform/pixel_layout.h"

namespace platform {

struct Window {
  RECT rect;  // the client area on the screen; windows have no frame
  bool visible = true;
  DWORD ownerThread = 0;
  DWORD ownerProcess = 0;
  int pixelFormat = 0;
  bool destroying = false;  // its owner's hooks are hearing WM_DESTROY
};

enum class DCKind { kWindow, kScreen, kMemory };

struct DeviceContext {
  DCKind kind = DCKind::kScreen;
  HWND window = nullptr;    // window device contexts
  HBITMAP bitmap = nullptr; // the selected bitmap (memory: the stock 1 x 1 at first)
  HPALETTE palette = nullptr;
  HBRUSH brush = nullptr;
  int pixelFormat = 0;      // memory device contexts keep their own
  bool provider = false;    // opened by DCIOpenProvider
};

struct Bitmap {
  int width = 0, height = 0;  // height is positive; topDown says the row order
  bool topDown = false;
  int bitCount = 1;
  uint32_t masks[3] = {};
  DWORD compression = BI_RGB;  // as GetDIBits and GetObject report it
  uint32_t stride = 0;         // bytes per row, a multiple of 4
  uint8_t *block = nullptr;    // the allocation: 16 spare bytes, the pixels, 16 spare bytes
  uint8_t *bits = nullptr;     // the first row in memory
  size_t bytes = 0;            // of the pixels
  bool dibSection = false;
  BITMAPINFOHEADER header = {};  // DIB sections: as created
  std::vector<RGBQUAD> colors;   // 8 bits or fewer
  bool systemColors = false;     // an 8-bit device bitmap shows the system palette
  HDC selectedIn = nullptr;
  DWORD offset = 0;
  bool stock = false;
};

struct Palette {
  std::vector<PALETTEENTRY> entries;
  bool stock = false;
};

struct Brush {
  COLORREF color = 0;
  bool hollow = false;
  bool stock = false;
};

struct Hook {
  HHOOK handle;
  DWORD thread;
  HOOKPROC proc;
};

struct Message {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  bool hasPos;  // lParam then points to pos when delivered
  WINDOWPOS pos;
};

struct WindowSystem {
  uint32_t clipGeneration = 1;
  std::map<uintptr_t, Window> windows;
  std::vector<HWND> zOrder;  // the top window first
  std::map<uintptr_t, DeviceContext> dcs;
  std::map<uintptr_t, Bitmap> bitmaps;
  std::map<uintptr_t, Palette> palettes;
  std::map<uintptr_t, Brush> brushes;
  std::vector<Hook> hooks;  // in the order they were installed
  std::map<DWORD, std::deque<Message>> queues;
  PALETTEENTRY systemPalette[256];
  HBITMAP stockBitmap = nullptr;
  HPALETTE stockPalette = nullptr;
  HBRUSH stockBrushes[6] = {};
};

// The one instance; the caller holds ScreenLock().
WindowSystem &Ws();

inline uintptr_t Key(const void *handle) { return reinterpret_cast<uintptr_t>(handle); }
// A handle never given out before (handles are not reused).
uintptr_t NewHandle();

Window *FindWindow(HWND hwnd);
DeviceContext *FindDC(HDC hdc);
Bitmap *FindBitmap(HBITMAP bitmap);
Palette *FindPalette(HPALETTE palette);
Brush *FindBrush(HBRUSH brush);

// Back to the reserved colours only, as every display mode starts.
void ResetSystemPalette();

// Removes a window and its device contexts; the caller sends the messages.
void EraseWindow(HWND hwnd);

// Frees the pixels of a bitmap record.
void FreeBitmapBits(Bitmap *bitmap);
// Allocates zeroed pixels with the spare bytes around them; false when too large.
bool AllocateBitmapBits(Bitmap *bitmap);

// The screen's pixel layout; `colors` receives the system palette in 8-bit mode.
PixelLayout ScreenLayout(RGBQUAD colors[256]);
// A bitmap's layout; `colors` receives the system palette when it shows it.
PixelLayout BitmapLayout(const Bitmap &bitmap, RGBQUAD colors[256]);

// Paints screen rectangles (screen coordinates) with one colour, as a window's
// background when it appears.
void PaintScreen(const std::vector<RECT> &rects, uint32_t argb);

// ---- Messages ---------------------------------------------------------------------
// The messages one call raises. Send (under the lock) queues a message for the
// window's owner, or keeps it when the calling thread owns the window; Flush
// (after the lock is released) calls the calling thread's hooks with the kept ones.
class Outbox {
 public:
  void Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, const WINDOWPOS *pos = nullptr);
  void Flush();

 private:
  std::vector<Message> now_;
};

// Sends a message to every window, top first (display and palette changes).
void SendToAllWindows(Outbox &outbox, UINT message, WPARAM wParam, LPARAM lParam);

// Calls the calling thread's hooks with the messages queued for it by other
// threads; gives how many. Call without the lock. Does nothing while the
// thread is already delivering (a hook calling back into the window manager).
unsigned DeliverQueuedMessages();

}  // namespace platform
