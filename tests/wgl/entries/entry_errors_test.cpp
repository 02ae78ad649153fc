// Every check of every driver entry, in order, with its result and the
// last-error value and message it leaves.
#include <stdint.h>

#include <functional>

#include "core/gl_api.h"
#include "tests/wgl/entries/entries_fixture.h"
#include "wgl/wgl_entries.h"

namespace wgl_test {
namespace {

struct ErrorRow {
  const char *label;
  std::function<uintptr_t()> call;
  uintptr_t result;
  DWORD code;        // 0: no error code is set
  const char *name;  // the name the message carries
};

constexpr DWORD kRefused = 0xC0000000u;

class EntryErrors : public EntriesTest {
 protected:
  // The core copies only between contexts that were bound once.
  DHGLRC BoundOnce(HDC hdc) {
    DHGLRC handle = Create(hdc);
    EXPECT_TRUE(Bind(hdc, handle));
    EXPECT_TRUE(DrvReleaseContext(handle));
    return handle;
  }

  void Check(const ErrorRow &row) {
    SCOPED_TRACE(row.label);
    uintptr_t result = row.call();
    ErrorSeen seen = TakeErrors();
    EXPECT_EQ(result, row.result);
    if (row.code == 0) {
      // The platform may have set its own value; the entry sets none.
      EXPECT_NE(seen.lastError & 0xFFFF0000u, 0xC0070000u) << std::hex << seen.lastError;
      EXPECT_EQ(seen.output.find("System Error"), std::string::npos) << seen.output;
    } else {
      EXPECT_EQ(seen.lastError, row.code | 0xC0070000u);
      EXPECT_NE(seen.output.find(SystemErrorText(row.code, row.name)), std::string::npos)
          << seen.output;
    }
  }
};

void GLENTRY NoTable(const GlDispatchState *) {}

uintptr_t Bound(const GlDispatchState *table) { return table != nullptr; }

TEST_F(EntryErrors, CreateAndDelete) {
  const ErrorRow rows[] = {
      {"screen DC has no format",
       [&] { return ClearErrors(), DrvCreateContext(screenDC_); }, 0, 2000,
       "wglCreateLayerContext"},
      {"no DC", [&] { return ClearErrors(), DrvCreateContext(nullptr); }, 0, 2000,
       "wglCreateLayerContext"},
      {"window without a format",
       [&] { return ClearErrors(), DrvCreateContext(bareDC_); }, 0, 2000,
       "wglCreateLayerContext"},
      {"memory DC without a format",
       [&] { return ClearErrors(), DrvCreateContext(bareMemoryDC_); }, 0, 2000,
       "wglCreateLayerContext"},
      {"no format comes before the plane",
       [&] { return ClearErrors(), DrvCreateLayerContext(bareDC_, 1); }, 0, 2000,
       "wglCreateLayerContext"},
      {"overlay plane", [&] { return ClearErrors(), DrvCreateLayerContext(windowDC_, 1); }, 0,
       2000, "wglCreateLayerContext"},
      {"underlay plane", [&] { return ClearErrors(), DrvCreateLayerContext(windowDC_, -1); }, 0,
       2000, "wglCreateLayerContext"},
      {"device refuses",
       [&] {
         gSwitches.refuseCreate = true;
         ClearErrors();
         DHGLRC handle = DrvCreateContext(windowDC_);
         gSwitches.refuseCreate = false;
         return handle;
       },
       0, kRefused, "wglCreateContext"},
      {"delete handle 0", [&] { return ClearErrors(), DrvDeleteContext(0); }, 0, 6,
       "wglDeleteContext"},
      {"delete a handle never given", [&] { return ClearErrors(), DrvDeleteContext(0x7777); }, 0, 6,
       "wglDeleteContext"},
      {"delete a stale handle",
       [&] {
         DHGLRC stale = StaleHandle();
         return ClearErrors(), DrvDeleteContext(stale);
       },
       0, 6, "wglDeleteContext"},
      {"delete a context current on another thread",
       [&] {
         DHGLRC handle = Create(windowDC_);
         OtherThreadBinding other(windowDC_, handle);
         EXPECT_TRUE(other.bound());
         ClearErrors();
         return uintptr_t(DrvDeleteContext(handle));
       },
       0, 0, ""},
  };
  for (const ErrorRow &row : rows) Check(row);
}

TEST_F(EntryErrors, SetContext) {
  const ErrorRow rows[] = {
      {"not a device context",
       [&] {
         DHGLRC handle = Create(windowDC_);
         return ClearErrors(), Bound(DrvSetContext(nullptr, handle, NoTable));
       },
       0, 0, ""},
      {"stale handle",
       [&] {
         DHGLRC stale = StaleHandle();
         return ClearErrors(), Bound(DrvSetContext(windowDC_, stale, NoTable));
       },
       0, 6, "wglDrvCliSetContext"},
      {"stale handle comes before the DC",
       [&] {
         DHGLRC stale = StaleHandle();
         return ClearErrors(), Bound(DrvSetContext(screenDC_, stale, NoTable));
       },
       0, 6, "wglDrvCliSetContext"},
      {"screen DC: neither window nor bitmap",
       [&] {
         DHGLRC handle = Create(windowDC_);
         return ClearErrors(), Bound(DrvSetContext(screenDC_, handle, NoTable));
       },
       0, 6, "wglDrvCliSetContext"},
      {"current on another thread",
       [&] {
         DHGLRC handle = Create(windowDC_);
         OtherThreadBinding other(windowDC_, handle);
         EXPECT_TRUE(other.bound());
         return ClearErrors(), Bound(DrvSetContext(windowDC_, handle, NoTable));
       },
       0, 87, "wglDrvCliSetContext"},
      {"current elsewhere comes before the drawable's format",
       [&] {
         DHGLRC handle = Create(windowDC_);
         OtherThreadBinding other(windowDC_, handle);
         EXPECT_TRUE(other.bound());
         return ClearErrors(), Bound(DrvSetContext(bareDC_, handle, NoTable));
       },
       0, 87, "wglDrvCliSetContext"},
      {"window without a format",
       [&] {
         DHGLRC handle = Create(windowDC_);
         return ClearErrors(), Bound(DrvSetContext(bareDC_, handle, NoTable));
       },
       0, 2000, "wglDrvCliSetContext"},
      {"window of another format",
       [&] {
         DHGLRC handle = Create(windowDC_);
         return ClearErrors(), Bound(DrvSetContext(singleDC_, handle, NoTable));
       },
       0, 2000, "wglDrvCliSetContext"},
      {"bitmap of another format",
       [&] {
         DHGLRC handle = Create(windowDC_);
         return ClearErrors(), Bound(DrvSetContext(memoryDC_, handle, NoTable));
       },
       0, 2000, "wglDrvCliSetContext"},
      {"device refuses to bind",
       [&] {
         gSwitches.refuseMakeCurrent = true;
         DHGLRC handle = Create(windowDC_);
         gSwitches.refuseMakeCurrent = false;
         return ClearErrors(), Bound(DrvSetContext(windowDC_, handle, NoTable));
       },
       0, 0, ""},
      {"binds", [&] {
         DHGLRC handle = Create(windowDC_);
         ClearErrors();
         uintptr_t bound = Bound(DrvSetContext(windowDC_, handle, NoTable));
         DrvReleaseContext(handle);
         return bound;
       },
       1, 0, ""},
  };
  for (const ErrorRow &row : rows) Check(row);
}

TEST_F(EntryErrors, ShareAndCopy) {
  const ErrorRow rows[] = {
      {"share: stale first",
       [&] {
         DHGLRC stale = StaleHandle();
         DHGLRC handle = Create(windowDC_);
         return ClearErrors(), DrvShareLists(stale, handle);
       },
       0, 6, "DrvShareLists"},
      {"share: stale second",
       [&] {
         DHGLRC stale = StaleHandle();
         DHGLRC handle = Create(windowDC_);
         return ClearErrors(), DrvShareLists(handle, stale);
       },
       0, 6, "DrvShareLists"},
      {"share: handle 0",
       [&] {
         DHGLRC handle = Create(windowDC_);
         return ClearErrors(), DrvShareLists(0, handle);
       },
       0, 6, "DrvShareLists"},
      {"share: target current on another thread",
       [&] {
         DHGLRC first = Create(windowDC_), second = Create(windowDC_);
         OtherThreadBinding other(windowDC_, second);
         EXPECT_TRUE(other.bound());
         return ClearErrors(), DrvShareLists(first, second);
       },
       0, 87, "DrvShareLists"},
      {"share: the first current elsewhere does not matter",
       [&] {
         DHGLRC first = Create(windowDC_), second = Create(windowDC_);
         OtherThreadBinding other(windowDC_, first);
         EXPECT_TRUE(other.bound());
         return ClearErrors(), DrvShareLists(first, second);
       },
       1, 0, ""},
      {"share: target compiling a list",
       [&] {
         DHGLRC first = Create(windowDC_), second = Create(windowDC_);
         EXPECT_TRUE(Bind(windowDC_, second));
         glNewList(1, GL_COMPILE);
         ClearErrors();
         BOOL shared = DrvShareLists(first, second);
         glEndList();
         DrvReleaseContext(second);
         return shared;
       },
       0, 87, "DrvShareLists"},
      {"share: target current here",
       [&] {
         DHGLRC first = Create(windowDC_), second = Create(windowDC_);
         EXPECT_TRUE(Bind(windowDC_, second));
         ClearErrors();
         BOOL shared = DrvShareLists(first, second);
         DrvReleaseContext(second);
         return shared;
       },
       1, 0, ""},
      {"copy: no source",
       [&] {
         DHGLRC stale = StaleHandle();
         DHGLRC handle = Create(windowDC_);
         return ClearErrors(), DrvCopyContext(stale, handle, 0x100000);
       },
       0, 6, "DrvCopyContext"},
      {"copy: no destination",
       [&] {
         DHGLRC stale = StaleHandle();
         DHGLRC handle = Create(windowDC_);
         return ClearErrors(), DrvCopyContext(handle, stale, 0x100000);
       },
       0, 6, "DrvCopyContext"},
      {"copy: handle 0 as source",
       [&] {
         DHGLRC handle = Create(windowDC_);
         return ClearErrors(), DrvCopyContext(0, handle, 1);
       },
       0, 6, "DrvCopyContext"},
      {"copy: mask 0x100000 comes before the current destination",
       [&] {
         DHGLRC source = Create(windowDC_), destination = Create(windowDC_);
         EXPECT_TRUE(Bind(windowDC_, destination));
         ClearErrors();
         BOOL copied = DrvCopyContext(source, destination, 0x100000);
         DrvReleaseContext(destination);
         return copied;
       },
       0, 87, "DrvCopyContext"},
      {"copy: destination current here",
       [&] {
         DHGLRC source = Create(windowDC_), destination = Create(windowDC_);
         EXPECT_TRUE(Bind(windowDC_, destination));
         ClearErrors();
         BOOL copied = DrvCopyContext(source, destination, 1);
         DrvReleaseContext(destination);
         return copied;
       },
       0, 5, "DrvCopyContext"},
      {"copy: destination current on another thread",
       [&] {
         DHGLRC source = Create(windowDC_), destination = Create(windowDC_);
         OtherThreadBinding other(windowDC_, destination);
         EXPECT_TRUE(other.bound());
         return ClearErrors(), DrvCopyContext(source, destination, 1);
       },
       0, 87, "DrvCopyContext"},
      {"copy: mask 0xFFFFF",
       [&] {
         DHGLRC source = BoundOnce(windowDC_), destination = BoundOnce(windowDC_);
         return ClearErrors(), DrvCopyContext(source, destination, 0xFFFFF);
       },
       1, 0, ""},
      {"copy: the source current here",
       [&] {
         DHGLRC source = BoundOnce(windowDC_), destination = BoundOnce(windowDC_);
         EXPECT_TRUE(Bind(windowDC_, source));
         ClearErrors();
         BOOL copied = DrvCopyContext(source, destination, 0xFFFFF);
         DrvReleaseContext(source);
         return copied;
       },
       1, 0, ""},
  };
  for (const ErrorRow &row : rows) Check(row);
}

TEST_F(EntryErrors, FormatsLayersAndNames) {
  PIXELFORMATDESCRIPTOR out;
  const ErrorRow rows[] = {
      {"describe 0",
       [&] {
         return ClearErrors(), uintptr_t(DrvDescribePixelFormat(windowDC_, 0, sizeof out, &out));
       },
       0, 0, ""},
      {"describe the least number",
       [&] {
         return ClearErrors(),
                uintptr_t(DrvDescribePixelFormat(windowDC_, INT32_MIN, sizeof out, &out));
       },
       0, 0, ""},
      {"describe past the list",
       [&] {
         return ClearErrors(),
                uintptr_t(DrvDescribePixelFormat(windowDC_, kFormatCount + 1, sizeof out, &out));
       },
       0, 0, ""},
      {"describe the last",
       [&] {
         return ClearErrors(),
                uintptr_t(DrvDescribePixelFormat(windowDC_, kFormatCount, sizeof out, &out));
       },
       kFormatCount, 0, ""},
      {"count only",
       [&] { return ClearErrors(), uintptr_t(DrvDescribePixelFormat(windowDC_, 0, 0, nullptr)); },
       kFormatCount, 0, ""},
      {"set again", [&] { return ClearErrors(), DrvSetPixelFormat(windowDC_, kWindowDouble); }, 0,
       0, ""},
      {"set another on a set window",
       [&] { return ClearErrors(), DrvSetPixelFormat(windowDC_, kWindowSingle); }, 0, 0, ""},
      {"bitmap format on a window",
       [&] { return ClearErrors(), DrvSetPixelFormat(bareDC_, kBitmapSingle); }, 0, 0, ""},
      {"window format on a bitmap",
       [&] { return ClearErrors(), DrvSetPixelFormat(bareMemoryDC_, kWindowDouble); }, 0, 0, ""},
      {"screen DC", [&] { return ClearErrors(), DrvSetPixelFormat(screenDC_, kWindowDouble); }, 0,
       0, ""},
      {"no DC", [&] { return ClearErrors(), DrvSetPixelFormat(nullptr, kWindowDouble); }, 0, 0,
       ""},
      {"format 0", [&] { return ClearErrors(), DrvSetPixelFormat(bareDC_, 0); }, 0, 0, ""},
      {"past the list",
       [&] { return ClearErrors(), DrvSetPixelFormat(bareDC_, kFormatCount + 1); }, 0, 0, ""},
      {"describe layer plane",
       [&] {
         LAYERPLANEDESCRIPTOR layer;
         return ClearErrors(),
                DrvDescribeLayerPlane(windowDC_, kWindowDouble, 1, sizeof layer, &layer);
       },
       0, 2000, "wglDescribeLayerPlane"},
      {"describe main plane",
       [&] {
         LAYERPLANEDESCRIPTOR layer;
         return ClearErrors(),
                DrvDescribeLayerPlane(windowDC_, kWindowDouble, 0, sizeof layer, &layer);
       },
       0, 2000, "wglDescribeLayerPlane"},
      {"get layer palette",
       [&] {
         COLORREF colors[4];
         return ClearErrors(), uintptr_t(DrvGetLayerPaletteEntries(windowDC_, 1, 0, 4, colors));
       },
       0, 2000, "wglDescribeLayerPlane"},
      {"set layer palette",
       [&] {
         const COLORREF colors[4] = {};
         return ClearErrors(), uintptr_t(DrvSetLayerPaletteEntries(windowDC_, 1, 0, 4, colors));
       },
       0, 2000, "wglDescribeLayerPlane"},
      {"realize layer palette",
       [&] { return ClearErrors(), DrvRealizeLayerPalette(windowDC_, 1, TRUE); }, 0, 2000,
       "wglRealizeLayerPalette"},
      {"proc address with no context",
       [&] {
         return ClearErrors(), reinterpret_cast<uintptr_t>(DrvGetProcAddress("glLockArraysVLX"));
       },
       0, 6, "wglGetProcAddress"},
      {"version 1", [&] { return ClearErrors(), DrvValidateVersion(1); }, 1, 0, ""},
      {"version 2", [&] { return ClearErrors(), DrvValidateVersion(2); }, 0, 0, ""},
      {"swap a memory DC", [&] { return ClearErrors(), DrvSwapBuffers(memoryDC_); }, 0, 0, ""},
      {"swap a window nobody draws to",
       [&] { return ClearErrors(), DrvSwapBuffers(windowDC_); }, 0, 0, ""},
      {"swap layers", [&] { return ClearErrors(), DrvSwapLayerBuffers(memoryDC_, 1); }, 1, 0, ""},
  };
  for (const ErrorRow &row : rows) Check(row);
}

}  // namespace
}  // namespace wgl_test
