// The SiS device's table slot by slot, and the two raw rows it offers.
#include <gtest/gtest.h>
#include <string.h>

#include "pixels/px_texformat.h"
#include "pixels/px_texture.h"
#include "sis/sis_texmgr.h"
#include "sis/sis_device.h"
#include "tests/sis/device/sis_device_fixture.h"
#include "wgl/wgl_choosers.h"
#include "wgl/wgl_ddraw.h"
#include "wgl/wgl_drawable_update.h"

namespace {

template <typename Proc>
const void *Address(Proc proc) {
  const void *address;
  static_assert(sizeof proc == sizeof address);
  memcpy(&address, &proc, sizeof address);
  return address;
}

TEST(SiSDeviceTable, TheWordsSayBackAndDepthGoToVideoMemory) {
  EXPECT_EQ(__glSiSDevice.flags, 0x24u);
  EXPECT_EQ(__glSiSDevice.reserved, 0x80000000u);
}

TEST(SiSDeviceTable, EachOperationIsTheDevicesOwnOrTheLayers) {
  const GlDevice &d = __glSiSDevice;
  struct Slot {
    const char *name;
    const void *got, *want;
  };
  const Slot slots[] = {
      {"processAttach", Address(d.processAttach), Address(__glSiSProcessAttach)},
      {"processDetach", Address(d.processDetach), Address(__glSiSProcessDetach)},
      {"threadAttach", Address(d.threadAttach), nullptr},
      {"threadDetach", Address(d.threadDetach), nullptr},
      {"getPixelFormat", Address(d.getPixelFormat), Address(__wglSiSGetPixelFormat)},
      {"invalidatePixelFormatList", Address(d.invalidatePixelFormatList),
       Address(__wglSiSInvalidatePixelFormatList)},
      {"lookupTextureFormat", Address(d.lookupTextureFormat), Address(__glLookupTextureFormat)},
      {"initTextureManager", Address(d.initTextureManager),
       Address(__glSiSDDrawInitTextureManager)},
      {"createContext", Address(d.createContext), Address(__glSiSCreateContext)},
      {"initDrawable", Address(d.initDrawable), Address(__wglSiSInitDrawable)},
      {"dibInitDrawable", Address(d.dibInitDrawable), Address(__wglDIBInitDrawable)},
      {"freeBuffers", Address(d.freeBuffers), Address(__wglFreeBuffers)},
      {"updateDrawablePalette", Address(d.updateDrawablePalette),
       Address(__wglDDrawUpdateDrawablePalette)},
  };
  for (const Slot &s : slots) EXPECT_EQ(s.got, s.want) << s.name;
}

// The words the display edit never touches; the flags only as shipped bits
// that every display keeps (OpenGL support, and double buffering on row 2).
TEST(SiSDeviceTable, TheRawRowsAre16BitRgbaWithAccumulationDepthAndStencil) {
  const DWORD kept[SIS_RAW_PIXEL_FORMATS] = {PFD_SUPPORT_OPENGL,
                                             PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER};
  for (int i = 0; i < SIS_RAW_PIXEL_FORMATS; i++) {
    SCOPED_TRACE(i + 1);
    const PIXELFORMATDESCRIPTOR &r = rawSiSPixelFormats[i];
    EXPECT_EQ(r.dwFlags & kept[i], kept[i]);
    EXPECT_EQ(!!(r.dwFlags & PFD_DOUBLEBUFFER), i == 1);
    sis_device_test::ExpectSiSRowWords(r);
  }
}

}  // namespace
