// DirectDraw result codes by name, and the report that carries them.
#include <gtest/gtest.h>

#include <string>

#include "platform/control.h"
#include "wgl/wgl_ddraw.h"

namespace wgl_ddraw_test {
namespace {

TEST(DDrawErrorName, NamesEachCodeByItsPublishedName) {
  struct Case {
    HRESULT code;
    const char *name;
  } cases[] = {
      {HRESULT(0x80004005), "DDERR_GENERIC"},
      {HRESULT(0x80070057), "DDERR_INVALIDPARAMS"},
      {HRESULT(0x8007000E), "DDERR_OUTOFMEMORY"},
      {HRESULT(0x80004001), "DDERR_UNSUPPORTED"},
      {HRESULT(0x887601C2), "DDERR_SURFACELOST"},
      {HRESULT(0x887601AE), "DDERR_SURFACEBUSY"},
      {HRESULT(0x8876021C), "DDERR_WASSTILLDRAWING"},
      {HRESULT(0x8876024B), "DDERR_WRONGMODE"},
      {DDERR_ALREADYINITIALIZED, "DDERR_ALREADYINITIALIZED"},
      {DDERR_OUTOFVIDEOMEMORY, "DDERR_OUTOFVIDEOMEMORY"},
      {DDERR_INVALIDRECT, "DDERR_INVALIDRECT"},
      {DDERR_UNSUPPORTEDMODE, "DDERR_UNSUPPORTEDMODE"},
      {DDERR_NOTPALETTIZED, "DDERR_NOTPALETTIZED"},
      // Not in the table: codes the platform has but the driver never names,
      // success, and made-up values.
      {DDERR_CANTLOCKSURFACE, "Unknown"},
      {DDERR_TOOBIGSIZE, "Unknown"},
      {DD_OK, "Unknown"},
      {HRESULT(0x12345678), "Unknown"},
  };
  for (const Case &c : cases)
    EXPECT_STREQ(__wglDDrawErrorName(c.code), c.name) << std::hex << c.code;
}

TEST(DDrawErrorName, ReportsTheWhereAndTheNameAsAMessage) {
  struct Case {
    const char *prefix;
    HRESULT code;
    const char *text;
  } cases[] = {
      {"DDraw: Lock", DDERR_SURFACEBUSY,
       "WGL Message:WGL: DDraw: Lock: DDERROR = DDERR_SURFACEBUSY\n"},
      {"DDraw: Fill: Blt(2)", HRESULT(0x1234), "WGL Message:WGL: DDraw: Fill: Blt(2): DDERROR = Unknown\n"},
  };
  for (const Case &c : cases) {
    PlatformClearDebugOutput();
    __wglDDrawError(c.prefix, c.code);
    char text[512];
    PlatformDebugOutput(text, sizeof text);
    EXPECT_EQ(std::string(text).find(c.text), 0u) << text;
  }
}

}  // namespace
}  // namespace wgl_ddraw_test
