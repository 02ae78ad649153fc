// The wgl calls: what reaches the driver, what comes back, and the
// last-error values: the driver's pass through unchanged, the loader sets its
// own only when it fails before reaching the driver.
#include <functional>
#include <string>

#include "wgl/driver_interface.h"
#include "tests/loader/entries/gl_exports.h"
#include "tests/loader/entries/loader_fixture.h"

namespace {

using LoaderWgl = LoaderTest;

uintptr_t W(const void *p) { return reinterpret_cast<uintptr_t>(p); }

// What each case works on: a formatted window, a window without a format, two
// contexts and their driver handles, handles the loader never gave or took
// back, a device context that is no device context, and the screen's.
struct Scene {
  HDC hdc, blank, screen;
  HGLRC a, b, stale, madeUp;
  DHGLRC da, db;
  HDC bogus;
  PIXELFORMATDESCRIPTOR pfd;
  LAYERPLANEDESCRIPTOR lpd;
  COLORREF colors[8];
};

class LoaderWglScene : public LoaderTest {
 protected:
  void SetUp() override {
    LoaderTest::SetUp();
    s_ = {};
    s_.hdc = FormattedDC();
    s_.blank = WindowDC();
    s_.screen = GetDC(nullptr);
    s_.a = wglCreateContext(s_.hdc);
    s_.da = FakeCallsOf(FAKE_DrvCreateContext).back().result;
    s_.b = wglCreateContext(s_.hdc);
    s_.db = FakeCallsOf(FAKE_DrvCreateContext).back().result;
    s_.stale = wglCreateContext(s_.hdc);
    ASSERT_TRUE(wglDeleteContext(s_.stale));
    s_.madeUp = reinterpret_cast<HGLRC>(uintptr_t(0x7777));
    s_.bogus = reinterpret_cast<HDC>(uintptr_t(0x7777));
    ASSERT_NE(s_.a, nullptr);
    ASSERT_NE(s_.b, nullptr);
  }
  void TearDown() override {
    ReleaseDC(nullptr, s_.screen);
    LoaderTest::TearDown();
  }
  Scene s_;
};

// ---- The driver's failures pass through ------------------------------------------------

struct DriverFailure {
  const char *what;
  int entry;
  uintptr_t answer;  // the driver's failure result
  std::function<uintptr_t(Scene &)> call;
  uintptr_t expected;
  unsigned skip = 0;  // calls of the entry that succeed before it fails
};

const DriverFailure kDriverFailures[] = {
    {"wglCreateContext", FAKE_DrvCreateContext, 0,
     [](Scene &s) { return W(wglCreateContext(s.hdc)); }, 0},
    {"wglCreateLayerContext", FAKE_DrvCreateLayerContext, 0,
     [](Scene &s) { return W(wglCreateLayerContext(s.hdc, 1)); }, 0},
    {"wglDeleteContext", FAKE_DrvDeleteContext, FALSE,
     [](Scene &s) { return uintptr_t(wglDeleteContext(s.b)); }, FALSE},
    {"wglMakeCurrent", FAKE_DrvSetContext, 0,
     [](Scene &s) { return uintptr_t(wglMakeCurrent(s.hdc, s.b)); }, FALSE},
    {"wglMakeCurrent releasing", FAKE_DrvReleaseContext, FALSE,
     [](Scene &s) {
       wglMakeCurrent(s.hdc, s.a);
       return uintptr_t(wglMakeCurrent(nullptr, nullptr));
     },
     FALSE},
    {"wglShareLists", FAKE_DrvShareLists, FALSE,
     [](Scene &s) { return uintptr_t(wglShareLists(s.a, s.b)); }, FALSE},
    {"wglCopyContext", FAKE_DrvCopyContext, FALSE,
     [](Scene &s) { return uintptr_t(wglCopyContext(s.a, s.b, 1)); }, FALSE},
    {"DescribePixelFormat counting", FAKE_DrvDescribePixelFormat, 0,
     [](Scene &s) { return uintptr_t(DescribePixelFormat(s.hdc, 1, 0, nullptr)); }, 0},
    {"DescribePixelFormat", FAKE_DrvDescribePixelFormat, 0,
     [](Scene &s) { return uintptr_t(DescribePixelFormat(s.hdc, 1, sizeof s.pfd, &s.pfd)); }, 0},
    {"ChoosePixelFormat", FAKE_DrvDescribePixelFormat, 0,
     [](Scene &s) {
       s.pfd = Descriptor(PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL);
       return uintptr_t(ChoosePixelFormat(s.hdc, &s.pfd));
     },
     0},
    {"ChoosePixelFormat describing each format", FAKE_DrvDescribePixelFormat, 0,
     [](Scene &s) {
       s.pfd = Descriptor(PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL);
       return uintptr_t(ChoosePixelFormat(s.hdc, &s.pfd));
     },
     0, 1},
    {"ChoosePixelFormat describing the only format that fits", FAKE_DrvDescribePixelFormat, 0,
     [](Scene &s) {
       s.pfd = Descriptor(PFD_DRAW_TO_BITMAP | PFD_SUPPORT_OPENGL);
       return uintptr_t(ChoosePixelFormat(s.hdc, &s.pfd));
     },
     0, 2},
    {"SetPixelFormat", FAKE_DrvSetPixelFormat, FALSE,
     [](Scene &s) { return uintptr_t(SetPixelFormat(s.blank, 2, nullptr)); }, FALSE},
    {"SwapBuffers", FAKE_DrvSwapBuffers, FALSE,
     [](Scene &s) { return uintptr_t(SwapBuffers(s.hdc)); }, FALSE},
    {"wglSwapBuffers", FAKE_DrvSwapBuffers, FALSE,
     [](Scene &s) { return uintptr_t(wglSwapBuffers(s.hdc)); }, FALSE},
    {"wglSwapLayerBuffers", FAKE_DrvSwapLayerBuffers, FALSE,
     [](Scene &s) { return uintptr_t(wglSwapLayerBuffers(s.hdc, 1)); }, FALSE},
    {"wglDescribeLayerPlane", FAKE_DrvDescribeLayerPlane, FALSE,
     [](Scene &s) { return uintptr_t(wglDescribeLayerPlane(s.hdc, 1, 1, sizeof s.lpd, &s.lpd)); },
     FALSE},
    {"wglGetLayerPaletteEntries", FAKE_DrvGetLayerPaletteEntries, 0,
     [](Scene &s) { return uintptr_t(wglGetLayerPaletteEntries(s.hdc, 1, 0, 8, s.colors)); }, 0},
    {"wglSetLayerPaletteEntries", FAKE_DrvSetLayerPaletteEntries, 0,
     [](Scene &s) { return uintptr_t(wglSetLayerPaletteEntries(s.hdc, 1, 0, 8, s.colors)); }, 0},
    {"wglRealizeLayerPalette", FAKE_DrvRealizeLayerPalette, FALSE,
     [](Scene &s) { return uintptr_t(wglRealizeLayerPalette(s.hdc, 1, TRUE)); }, FALSE},
    {"wglGetProcAddress", FAKE_DrvGetProcAddress, 0,
     [](Scene &s) { return W(reinterpret_cast<void *>(wglGetProcAddress("glLockArraysVLX"))); }, 0},
};

TEST_F(LoaderWglScene, TheDriversLastErrorPassesThroughUnchanged) {
  for (const DriverFailure &f : kDriverFailures) {
    SCOPED_TRACE(f.what);
    FakeDriverReset();
    wglMakeCurrent(nullptr, nullptr);
    FakeDriverReset();
    // The platform's codes as the driver reports them: code | 0xC0070000.
    DWORD error = 0xC0070000u | DWORD(100 + f.entry);
    FakeDriverOverrideAfter(f.entry, f.skip, f.answer, error);
    SetLastError(0x1111);
    EXPECT_EQ(f.call(s_), f.expected);
    EXPECT_EQ(GetLastError(), error);
    EXPECT_FALSE(FakeCallsOf(f.entry).empty()) << "the driver was asked";
  }
}

// ---- What reaches the driver and what comes back -------------------------------------------

constexpr uintptr_t kAny = ~uintptr_t(0);

struct Forwarding {
  const char *what;
  int entry;
  std::function<uintptr_t(Scene &)> call;
  std::function<std::vector<uintptr_t>(Scene &)> args;  // kAny: not compared
  uintptr_t answer;                                     // what the driver answers
  uintptr_t expected;                                   // what the application gets
};

const Forwarding kForwardings[] = {
    {"wglCreateContext", FAKE_DrvCreateContext,
     [](Scene &s) { return W(wglCreateContext(s.blank)); },
     [](Scene &s) { return std::vector<uintptr_t>{W(s.blank)}; }, 0x2222, kAny},
    {"wglCreateLayerContext", FAKE_DrvCreateLayerContext,
     [](Scene &s) { return W(wglCreateLayerContext(s.hdc, -1)); },
     [](Scene &s) {
       return std::vector<uintptr_t>{W(s.hdc), uintptr_t(-1)};
     },
     0x2222, kAny},
    {"wglMakeCurrent", FAKE_DrvSetContext,
     [](Scene &s) { return uintptr_t(wglMakeCurrent(s.hdc, s.a)); },
     [](Scene &s) {
       return std::vector<uintptr_t>{W(s.hdc), s.da, kAny};
     },
     0, TRUE},
    {"wglShareLists", FAKE_DrvShareLists,
     [](Scene &s) { return uintptr_t(wglShareLists(s.a, s.b)); },
     [](Scene &s) {
       return std::vector<uintptr_t>{s.da, s.db};
     },
     3, 3},
    {"wglCopyContext", FAKE_DrvCopyContext,
     [](Scene &s) { return uintptr_t(wglCopyContext(s.b, s.a, 0xFFFFF)); },
     [](Scene &s) {
       return std::vector<uintptr_t>{s.db, s.da, 0xFFFFF};
     },
     3, 3},
    {"DescribePixelFormat", FAKE_DrvDescribePixelFormat,
     [](Scene &s) { return uintptr_t(DescribePixelFormat(s.hdc, 3, 12, &s.pfd)); },
     [](Scene &s) {
       return std::vector<uintptr_t>{W(s.hdc), 3, 12, W(&s.pfd)};
     },
     9, 9},
    {"SetPixelFormat", FAKE_DrvSetPixelFormat,
     [](Scene &s) { return uintptr_t(SetPixelFormat(s.blank, 3, nullptr)); },
     [](Scene &s) {
       return std::vector<uintptr_t>{W(s.blank), 3};
     },
     3, TRUE},
    {"SwapBuffers", FAKE_DrvSwapBuffers, [](Scene &s) { return uintptr_t(SwapBuffers(s.hdc)); },
     [](Scene &s) { return std::vector<uintptr_t>{W(s.hdc)}; }, 3, 3},
    {"wglSwapBuffers", FAKE_DrvSwapBuffers,
     [](Scene &s) { return uintptr_t(wglSwapBuffers(s.hdc)); },
     [](Scene &s) { return std::vector<uintptr_t>{W(s.hdc)}; }, 3, 3},
    {"wglSwapLayerBuffers", FAKE_DrvSwapLayerBuffers,
     [](Scene &s) { return uintptr_t(wglSwapLayerBuffers(s.hdc, 0x5)); },
     [](Scene &s) {
       return std::vector<uintptr_t>{W(s.hdc), 0x5};
     },
     3, 3},
    {"wglDescribeLayerPlane", FAKE_DrvDescribeLayerPlane,
     [](Scene &s) { return uintptr_t(wglDescribeLayerPlane(s.hdc, 2, -1, 32, &s.lpd)); },
     [](Scene &s) {
       return std::vector<uintptr_t>{W(s.hdc), 2, uintptr_t(-1), 32, W(&s.lpd)};
     },
     3, 3},
    {"wglGetLayerPaletteEntries", FAKE_DrvGetLayerPaletteEntries,
     [](Scene &s) { return uintptr_t(wglGetLayerPaletteEntries(s.hdc, 1, 3, 4, s.colors)); },
     [](Scene &s) {
       return std::vector<uintptr_t>{W(s.hdc), 1, 3, 4, W(s.colors)};
     },
     9, 9},
    {"wglSetLayerPaletteEntries", FAKE_DrvSetLayerPaletteEntries,
     [](Scene &s) { return uintptr_t(wglSetLayerPaletteEntries(s.hdc, 2, 0, 0, nullptr)); },
     [](Scene &s) {
       return std::vector<uintptr_t>{W(s.hdc), 2, 0, 0, 0};
     },
     9, 9},
    {"wglRealizeLayerPalette", FAKE_DrvRealizeLayerPalette,
     [](Scene &s) { return uintptr_t(wglRealizeLayerPalette(s.hdc, 1, TRUE)); },
     [](Scene &s) {
       return std::vector<uintptr_t>{W(s.hdc), 1, TRUE};
     },
     3, 3},
    // Last: it takes the second context away.
    {"wglDeleteContext", FAKE_DrvDeleteContext,
     [](Scene &s) { return uintptr_t(wglDeleteContext(s.b)); },
     [](Scene &s) { return std::vector<uintptr_t>{s.db}; }, 3, TRUE},
};

TEST_F(LoaderWglScene, EachCallReachesItsDriverEntryWithItsArgumentsAndResult) {
  for (const Forwarding &f : kForwardings) {
    SCOPED_TRACE(f.what);
    FakeDriverReset();
    if (f.answer) FakeDriverOverride(f.entry, f.answer, 0);
    uintptr_t result = f.call(s_);
    if (f.expected != kAny) {
      EXPECT_EQ(result, f.expected);
    }
    std::vector<FakeCall> calls = FakeCallsOf(f.entry);
    ASSERT_FALSE(calls.empty());
    std::vector<uintptr_t> expected = f.args(s_);
    for (size_t i = 0; i < expected.size(); ++i)
      if (expected[i] != kAny) {
        EXPECT_EQ(calls.back().args[i], expected[i]) << "argument " << i;
      }
  }
}

TEST_F(LoaderWglScene, CreatedContextsGetTheLoadersOwnHandles) {
  HGLRC c = wglCreateContext(s_.hdc);
  HGLRC d = wglCreateLayerContext(s_.hdc, 1);
  ASSERT_NE(c, nullptr);
  ASSERT_NE(d, nullptr);
  std::vector<FakeCall> creates = FakeCalls();
  for (HGLRC h : {s_.a, s_.b, c, d})
    for (const FakeCall &call : creates)
      if (call.entry == FAKE_DrvCreateContext || call.entry == FAKE_DrvCreateLayerContext) {
        EXPECT_NE(W(h), call.result) << "a handle is not the driver's";
      }
  EXPECT_NE(c, d);
  EXPECT_NE(c, s_.stale) << "numbers are not reused";
  EXPECT_NE(d, s_.stale);
}

// ---- The loader's own failures, before the driver -----------------------------------------

struct LoaderFailure {
  const char *what;
  std::function<uintptr_t(Scene &)> call;
  uintptr_t expected;
  DWORD error;
  int entry;                // the entry that must not be reached, -1 for none
  bool withDescriptorOnly;  // only a describe call that fills a descriptor counts
};

const LoaderFailure kLoaderFailures[] = {
    {"create on no device context", [](Scene &) { return W(wglCreateContext(nullptr)); }, 0,
     ERROR_INVALID_HANDLE, FAKE_DrvCreateContext, false},
    {"create on a made-up device context", [](Scene &s) { return W(wglCreateContext(s.bogus)); }, 0,
     ERROR_INVALID_HANDLE, FAKE_DrvCreateContext, false},
    {"create a layer on a made-up device context",
     [](Scene &s) { return W(wglCreateLayerContext(s.bogus, 1)); }, 0, ERROR_INVALID_HANDLE,
     FAKE_DrvCreateLayerContext, false},
    {"bind a deleted context", [](Scene &s) { return uintptr_t(wglMakeCurrent(s.hdc, s.stale)); },
     FALSE, ERROR_INVALID_HANDLE, FAKE_DrvSetContext, false},
    {"bind a made-up context", [](Scene &s) { return uintptr_t(wglMakeCurrent(s.hdc, s.madeUp)); },
     FALSE, ERROR_INVALID_HANDLE, FAKE_DrvSetContext, false},
    {"bind on no device context", [](Scene &s) { return uintptr_t(wglMakeCurrent(nullptr, s.a)); },
     FALSE, ERROR_INVALID_HANDLE, FAKE_DrvSetContext, false},
    {"bind on a made-up device context",
     [](Scene &s) { return uintptr_t(wglMakeCurrent(s.bogus, s.a)); }, FALSE, ERROR_INVALID_HANDLE,
     FAKE_DrvSetContext, false},
    {"delete no context", [](Scene &) { return uintptr_t(wglDeleteContext(nullptr)); }, FALSE,
     ERROR_INVALID_HANDLE, FAKE_DrvDeleteContext, false},
    {"delete a deleted context", [](Scene &s) { return uintptr_t(wglDeleteContext(s.stale)); },
     FALSE, ERROR_INVALID_HANDLE, FAKE_DrvDeleteContext, false},
    {"share with a deleted context",
     [](Scene &s) { return uintptr_t(wglShareLists(s.a, s.stale)); }, FALSE, ERROR_INVALID_HANDLE,
     FAKE_DrvShareLists, false},
    {"share a made-up context", [](Scene &s) { return uintptr_t(wglShareLists(s.madeUp, s.a)); },
     FALSE, ERROR_INVALID_HANDLE, FAKE_DrvShareLists, false},
    {"copy from a deleted context",
     [](Scene &s) { return uintptr_t(wglCopyContext(s.stale, s.a, 1)); }, FALSE,
     ERROR_INVALID_HANDLE, FAKE_DrvCopyContext, false},
    {"copy to no context", [](Scene &s) { return uintptr_t(wglCopyContext(s.a, nullptr, 1)); },
     FALSE, ERROR_INVALID_HANDLE, FAKE_DrvCopyContext, false},
    {"describe format 0",
     [](Scene &s) { return uintptr_t(DescribePixelFormat(s.hdc, 0, sizeof s.pfd, &s.pfd)); }, 0,
     ERROR_INVALID_PIXEL_FORMAT, FAKE_DrvDescribePixelFormat, true},
    {"describe a format past the last",
     [](Scene &s) { return uintptr_t(DescribePixelFormat(s.hdc, 5, sizeof s.pfd, &s.pfd)); }, 0,
     ERROR_INVALID_PIXEL_FORMAT, FAKE_DrvDescribePixelFormat, true},
    {"describe on a made-up device context",
     [](Scene &s) { return uintptr_t(DescribePixelFormat(s.bogus, 1, sizeof s.pfd, &s.pfd)); }, 0,
     ERROR_INVALID_HANDLE, FAKE_DrvDescribePixelFormat, false},
    {"set format 0", [](Scene &s) { return uintptr_t(SetPixelFormat(s.blank, 0, nullptr)); }, FALSE,
     ERROR_INVALID_PIXEL_FORMAT, FAKE_DrvSetPixelFormat, false},
    {"set a format past the last",
     [](Scene &s) { return uintptr_t(SetPixelFormat(s.blank, 5, nullptr)); }, FALSE,
     ERROR_INVALID_PIXEL_FORMAT, FAKE_DrvSetPixelFormat, false},
    {"set another format on a formatted window",
     [](Scene &s) { return uintptr_t(SetPixelFormat(s.hdc, 2, nullptr)); }, FALSE,
     ERROR_INVALID_PIXEL_FORMAT, FAKE_DrvSetPixelFormat, false},
    {"set a format on the screen",
     [](Scene &s) { return uintptr_t(SetPixelFormat(s.screen, 1, nullptr)); }, FALSE,
     ERROR_INVALID_PIXEL_FORMAT, FAKE_DrvSetPixelFormat, false},
    {"set a format on a made-up device context",
     [](Scene &s) { return uintptr_t(SetPixelFormat(s.bogus, 1, nullptr)); }, FALSE,
     ERROR_INVALID_HANDLE, FAKE_DrvSetPixelFormat, false},
    {"choose without a descriptor",
     [](Scene &s) { return uintptr_t(ChoosePixelFormat(s.hdc, nullptr)); }, 0,
     ERROR_INVALID_PARAMETER, FAKE_DrvDescribePixelFormat, false},
    {"choose with a descriptor of the wrong size",
     [](Scene &s) {
       s.pfd = Descriptor(PFD_DRAW_TO_WINDOW, 39);
       return uintptr_t(ChoosePixelFormat(s.hdc, &s.pfd));
     },
     0, ERROR_INVALID_PARAMETER, FAKE_DrvDescribePixelFormat, false},
    {"choose with a descriptor of another version",
     [](Scene &s) {
       s.pfd = Descriptor(PFD_DRAW_TO_WINDOW, 40, 2);
       return uintptr_t(ChoosePixelFormat(s.hdc, &s.pfd));
     },
     0, ERROR_INVALID_PARAMETER, FAKE_DrvDescribePixelFormat, false},
    {"get the format of a made-up device context",
     [](Scene &s) { return uintptr_t(GetPixelFormat(s.bogus)); }, 0, ERROR_INVALID_HANDLE, -1,
     false},
    {"swap a made-up device context", [](Scene &s) { return uintptr_t(SwapBuffers(s.bogus)); },
     FALSE, ERROR_INVALID_HANDLE, FAKE_DrvSwapBuffers, false},
    {"swap layers of a made-up device context",
     [](Scene &s) { return uintptr_t(wglSwapLayerBuffers(s.bogus, 1)); }, FALSE,
     ERROR_INVALID_HANDLE, FAKE_DrvSwapLayerBuffers, false},
    {"describe a layer without a descriptor",
     [](Scene &s) { return uintptr_t(wglDescribeLayerPlane(s.hdc, 1, 1, 32, nullptr)); }, FALSE,
     ERROR_INVALID_PARAMETER, FAKE_DrvDescribeLayerPlane, false},
    {"describe a layer of format 0",
     [](Scene &s) { return uintptr_t(wglDescribeLayerPlane(s.hdc, 0, 1, 32, &s.lpd)); }, FALSE,
     ERROR_INVALID_PIXEL_FORMAT, FAKE_DrvDescribeLayerPlane, false},
    {"describe a layer of a format past the last",
     [](Scene &s) { return uintptr_t(wglDescribeLayerPlane(s.hdc, 5, 1, 32, &s.lpd)); }, FALSE,
     ERROR_INVALID_PIXEL_FORMAT, FAKE_DrvDescribeLayerPlane, false},
    {"get palette entries into nothing",
     [](Scene &s) { return uintptr_t(wglGetLayerPaletteEntries(s.hdc, 1, 0, 4, nullptr)); }, 0,
     ERROR_INVALID_PARAMETER, FAKE_DrvGetLayerPaletteEntries, false},
    {"get a negative count of palette entries",
     [](Scene &s) { return uintptr_t(wglGetLayerPaletteEntries(s.hdc, 1, 0, -2, s.colors)); }, 0,
     ERROR_INVALID_PARAMETER, FAKE_DrvGetLayerPaletteEntries, false},
    {"set palette entries from a negative start",
     [](Scene &s) { return uintptr_t(wglSetLayerPaletteEntries(s.hdc, 1, -1, 4, s.colors)); }, 0,
     ERROR_INVALID_PARAMETER, FAKE_DrvSetLayerPaletteEntries, false},
    {"realize the palette of a made-up device context",
     [](Scene &s) { return uintptr_t(wglRealizeLayerPalette(s.bogus, 1, TRUE)); }, FALSE,
     ERROR_INVALID_HANDLE, FAKE_DrvRealizeLayerPalette, false},
    {"the address of no name",
     [](Scene &) { return W(reinterpret_cast<void *>(wglGetProcAddress(nullptr))); }, 0,
     ERROR_INVALID_PARAMETER, FAKE_DrvGetProcAddress, false},
};

TEST_F(LoaderWglScene, TheLoadersOwnFailuresComeBeforeTheDriver) {
  for (const LoaderFailure &f : kLoaderFailures) {
    SCOPED_TRACE(f.what);
    FakeDriverReset();
    SetLastError(0);
    EXPECT_EQ(f.call(s_), f.expected);
    EXPECT_EQ(GetLastError(), f.error);
    if (f.entry < 0) continue;
    for (const FakeCall &c : FakeCallsOf(f.entry))
      EXPECT_TRUE(f.withDescriptorOnly && c.args[3] == 0) << "the driver was asked";
  }
}

TEST_F(LoaderWglScene, OnlyTheDriversExtensionNamesGetAnAddress) {
  ASSERT_TRUE(wglMakeCurrent(s_.hdc, s_.a));
  SetLastError(0);
  EXPECT_NE(wglGetProcAddress("glLockArraysVLX"), nullptr);
  EXPECT_EQ(GetLastError(), 0u);
  // The driver knows it, but its convention is not known to the loader.
  EXPECT_EQ(wglGetProcAddress("glBogusVLX"), nullptr);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_PROC_NOT_FOUND));
  // The GL 1.1 functions are exports, not extensions; case counts.
  EXPECT_EQ(wglGetProcAddress("glColor3f"), nullptr);
  EXPECT_EQ(wglGetProcAddress("gllockarraysvlx"), nullptr);
  EXPECT_EQ(wglGetProcAddress("glLockArraysVLX "), nullptr);
}

TEST_F(LoaderWglScene, SucceedingCallsLeaveTheLastErrorAlone) {
  SetLastError(0x2222);
  PIXELFORMATDESCRIPTOR wanted = Descriptor(PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL);
  int format = ChoosePixelFormat(s_.blank, &wanted);
  EXPECT_NE(format, 0);
  EXPECT_TRUE(SetPixelFormat(s_.blank, format, &wanted));
  EXPECT_EQ(GetPixelFormat(s_.blank), format);
  EXPECT_EQ(DescribePixelFormat(s_.blank, format, sizeof s_.pfd, &s_.pfd), FAKE_PIXEL_FORMATS);
  HGLRC context = wglCreateContext(s_.blank);
  EXPECT_TRUE(wglMakeCurrent(s_.blank, context));
  EXPECT_EQ(wglGetCurrentContext(), context);
  EXPECT_NE(wglGetProcAddress("glAddSwapHintRectWIN"), nullptr);
  EXPECT_TRUE(wglShareLists(s_.a, context));
  EXPECT_TRUE(wglCopyContext(s_.a, s_.b, 1));
  EXPECT_TRUE(SwapBuffers(s_.blank));
  EXPECT_TRUE(wglMakeCurrent(s_.hdc, s_.a));
  EXPECT_TRUE(wglDeleteContext(context));
  EXPECT_TRUE(wglMakeCurrent(nullptr, nullptr));
  EXPECT_EQ(GetLastError(), 0x2222u);
}

}  // namespace
