// Loading the driver and the process attach and detach around it; failed
// loads; the built-in modules through which GDI and the driver reach the
// loader.
#include <dlfcn.h>
#include <unistd.h>

#include <cctype>
#include <functional>
#include <string>

#include "wgl/driver_interface.h"
#include "tests/loader/entries/gl_exports.h"
#include "tests/loader/entries/loader_fixture.h"

namespace {

using LoaderAttach = LoaderTest;

TEST_F(LoaderAttach, TheFirstCallThatNeedsTheDriverAttachesItOnTheCallingThread) {
  HDC hdc = WindowDC();
  EXPECT_EQ(glGetError(), 0u) << "GL calls need no driver";
  EXPECT_EQ(GetPixelFormat(hdc), 0) << "nor does reading the pixel format";
  EXPECT_TRUE(FakeCalls().empty());

  EXPECT_EQ(DescribePixelFormat(hdc, 1, 0, nullptr), FAKE_PIXEL_FORMATS);
  std::vector<FakeCall> calls = FakeCalls();
  ASSERT_GE(calls.size(), 3u);
  // Attach, then the version check, then the call itself.
  EXPECT_EQ(calls[0].entry, FAKE_DllMain);
  EXPECT_EQ(calls[0].args[1], DLL_PROCESS_ATTACH);
  EXPECT_EQ(calls[0].args[2], 0u) << "reserved";
  EXPECT_EQ(calls[1].entry, FAKE_DrvValidateVersion);
  EXPECT_EQ(calls[1].args[0], 1u);
  EXPECT_EQ(calls[2].entry, FAKE_DrvDescribePixelFormat);
  EXPECT_EQ(Attachments(), (std::vector<Attachment>{{DLL_PROCESS_ATTACH, GetCurrentThreadId()}}));

  // The module handle is a loaded platform module that exports the driver's entries.
  HMODULE module = reinterpret_cast<HMODULE>(calls[0].args[0]);
  EXPECT_EQ(reinterpret_cast<void *>(GetProcAddress(module, "DrvSetContext")),
            dlsym(RTLD_DEFAULT, "DrvSetContext"));

  // Later calls find the driver loaded.
  EXPECT_EQ(DescribePixelFormat(hdc, 1, 0, nullptr), FAKE_PIXEL_FORMATS);
  EXPECT_EQ(Attachments().size(), 1u);

  EXPECT_TRUE(VlxGlUnloadDriver());
  EXPECT_EQ(Attachments(), (std::vector<Attachment>{{DLL_PROCESS_ATTACH, GetCurrentThreadId()},
                                                    {DLL_PROCESS_DETACH, GetCurrentThreadId()}}));
  EXPECT_EQ(GetProcAddress(module, "DrvSetContext"), nullptr) << "the module went with the driver";
  EXPECT_FALSE(VlxGlUnloadDriver()) << "nothing left to unload";
}

TEST_F(LoaderAttach, UnloadingMakesEveryHandleStaleAndEveryGlCallANoOp) {
  HDC hdc;
  HGLRC context = Bound(&hdc);
  ASSERT_NE(glGetError(), 0u) << "the fake's table answers";
  ASSERT_TRUE(VlxGlUnloadDriver());

  EXPECT_EQ(glGetError(), 0u);
  EXPECT_EQ(wglGetCurrentContext(), nullptr);
  EXPECT_EQ(wglGetCurrentDC(), nullptr);
  SetLastError(0);
  EXPECT_FALSE(wglMakeCurrent(hdc, context));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));

  // A new load does not bring old handles back.
  HGLRC fresh = wglCreateContext(hdc);
  ASSERT_NE(fresh, nullptr);
  EXPECT_NE(fresh, context);
  EXPECT_FALSE(wglDeleteContext(context));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
  EXPECT_TRUE(wglDeleteContext(fresh));
}

// ---- Loads that fail -------------------------------------------------------------------

struct LoadFailure {
  const char *what;
  std::function<void()> arrange;
  DWORD error;
  std::vector<DWORD> reasons;  // what DllMain was told
};

void PrintTo(const LoadFailure &f, std::ostream *out) { *out << f.what; }

class LoaderLoadFailure : public LoaderTest, public ::testing::WithParamInterface<LoadFailure> {};

TEST_P(LoaderLoadFailure, EveryCallThatNeedsTheDriverFailsAndGlCallsDoNothing) {
  const LoadFailure &f = GetParam();
  HDC hdc = WindowDC();
  f.arrange();

  SetLastError(0);
  EXPECT_EQ(wglCreateContext(hdc), nullptr);
  EXPECT_EQ(GetLastError(), f.error);
  std::vector<DWORD> reasons;
  for (const Attachment &a : Attachments()) reasons.push_back(a.reason);
  EXPECT_EQ(reasons, f.reasons);
  for (const FakeCall &c : FakeCalls())
    EXPECT_TRUE(c.entry == FAKE_DllMain || c.entry == FAKE_DrvValidateVersion)
        << "no driver entry is used after a failed load, saw " << c.entry;

  // Every later call fails the same way, without trying again.
  const std::function<bool()> calls[] = {
      [&] { return wglCreateLayerContext(hdc, 1) != nullptr; },
      [&] { return DescribePixelFormat(hdc, 1, 0, nullptr) != 0; },
      [&] {
        PIXELFORMATDESCRIPTOR wanted = Descriptor(PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL);
        return ChoosePixelFormat(hdc, &wanted) != 0;
      },
      [&] { return SetPixelFormat(hdc, 1, nullptr) != FALSE; },
      [&] { return SwapBuffers(hdc) != FALSE; },
      [&] { return wglGetProcAddress("glLockArraysVLX") != nullptr; },
      [&] { return wglSwapLayerBuffers(hdc, 1) != FALSE; },
  };
  size_t before = FakeCalls().size();
  for (const auto &call : calls) {
    SetLastError(0);
    EXPECT_FALSE(call());
    EXPECT_EQ(GetLastError(), f.error);
  }
  EXPECT_EQ(FakeCalls().size(), before);
  EXPECT_EQ(GetPixelFormat(hdc), 0);
  EXPECT_EQ(glGetError(), 0u);
  EXPECT_EQ(glGenLists(4), 0u);
  EXPECT_EQ(wglGetCurrentContext(), nullptr);
  EXPECT_TRUE(wglMakeCurrent(nullptr, nullptr)) << "releasing nothing succeeds";

  // After an unload the next call tries again.
  EXPECT_FALSE(VlxGlUnloadDriver());
  setenv("VLX_GL_DRIVER", VLX_FAKE_DRIVER_PATH, 1);
  FakeDriverReset();
  PlatformClearFaults();
  EXPECT_EQ(DescribePixelFormat(hdc, 1, 0, nullptr), FAKE_PIXEL_FORMATS);
}

const LoadFailure kLoadFailures[] = {
    {"missing library",
     [] { setenv("VLX_GL_DRIVER", "/nonexistent/libvlxdriver.so", 1); },
     DWORD(ERROR_MOD_NOT_FOUND),
     {}},
    {"library without the driver entries",
     [] { setenv("VLX_GL_DRIVER", VLX_PLATFORM_PATH, 1); },
     DWORD(ERROR_PROC_NOT_FOUND),
     {}},
    {"refused attach",
     [] { FakeDriverOverride(FAKE_DllMain, FALSE, 0); },
     DWORD(ERROR_DLL_INIT_FAILED),
     {DLL_PROCESS_ATTACH, DLL_PROCESS_DETACH}},
    {"refused version",
     [] { FakeDriverOverride(FAKE_DrvValidateVersion, FALSE, 0); },
     DWORD(ERROR_DLL_INIT_FAILED),
     {DLL_PROCESS_ATTACH, DLL_PROCESS_DETACH}},
    {"module registration failing",
     [] {
       PlatformArmFault({"LoadLibraryA", "vlxdriver.dll", 0, 0, 0});
     },
     DWORD(ERROR_MOD_NOT_FOUND),
     {}},
};

INSTANTIATE_TEST_SUITE_P(Loads, LoaderLoadFailure, ::testing::ValuesIn(kLoadFailures),
                         [](const ::testing::TestParamInfo<LoadFailure> &info) {
                           std::string name;
                           for (const char *c = info.param.what; *c; ++c)
                             if (isalnum(static_cast<unsigned char>(*c))) name += *c;
                           return name;
                         });

TEST_F(LoaderAttach, WithoutTheVariableTheDriverIsLookedForBesideTheLoader) {
  std::string loader = VLX_LOADER_PATH;
  std::string beside = loader.substr(0, loader.rfind('/') + 1) + "libvlxdriver.so";
  if (access(beside.c_str(), F_OK) == 0) GTEST_SKIP() << "a driver is installed beside the loader";
  unsetenv("VLX_GL_DRIVER");
  SetLastError(0);
  EXPECT_EQ(DescribePixelFormat(WindowDC(), 1, 0, nullptr), 0);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_MOD_NOT_FOUND));
  setenv("VLX_GL_DRIVER", "", 1);
  VlxGlUnloadDriver();
  SetLastError(0);
  EXPECT_EQ(DescribePixelFormat(WindowDC(), 1, 0, nullptr), 0)
      << "an empty variable counts as unset";
  EXPECT_EQ(GetLastError(), DWORD(ERROR_MOD_NOT_FOUND));
  EXPECT_TRUE(FakeCalls().empty());
}

// ---- Built-in modules ----------------------------------------------------------------------

TEST_F(LoaderAttach, OpenGl32ExportsWhatGdiForwardsTo) {
  HMODULE opengl = LoadLibraryA("opengl32.dll");
  ASSERT_NE(opengl, nullptr);
  struct Export {
    const char *name;
    void *proc;
  };
  const Export kExports[] = {
      {"wglSwapBuffers", reinterpret_cast<void *>(&wglSwapBuffers)},
      {"wglChoosePixelFormat", reinterpret_cast<void *>(&ChoosePixelFormat)},
      {"wglDescribePixelFormat", reinterpret_cast<void *>(&DescribePixelFormat)},
      {"wglGetPixelFormat", reinterpret_cast<void *>(&GetPixelFormat)},
      {"wglSetPixelFormat", reinterpret_cast<void *>(&SetPixelFormat)},
  };
  for (const Export &e : kExports)
    EXPECT_EQ(reinterpret_cast<void *>(GetProcAddress(opengl, e.name)), e.proc) << e.name;
  FreeLibrary(opengl);
}

TEST_F(LoaderAttach, GdiSwapBuffersReachesTheDriverThroughTheLoader) {
  HDC hdc = FormattedDC();
  HMODULE gdi = LoadLibraryA("gdi32");
  ASSERT_NE(gdi, nullptr);
  typedef BOOL(WINAPI * Swap)(HDC);
  Swap swap =
      reinterpret_cast<Swap>(reinterpret_cast<void *>(GetProcAddress(gdi, "GdiSwapBuffers")));
  ASSERT_NE(swap, nullptr);
  EXPECT_TRUE(swap(hdc));
  std::vector<FakeCall> swaps = FakeCallsOf(FAKE_DrvSwapBuffers);
  ASSERT_EQ(swaps.size(), 1u);
  EXPECT_EQ(swaps[0].args[0], reinterpret_cast<uintptr_t>(hdc));
  FreeLibrary(gdi);
}

}  // namespace
