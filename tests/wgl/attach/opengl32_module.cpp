#include "tests/wgl/attach/opengl32_module.h"

#include "platform/control.h"
#include "platform/gdi.h"
#include "platform/kernel.h"
#include "wgl/wgl_entries.h"

namespace {

int WINAPI ModuleGetPixelFormat(HDC hdc) { return PlatformGetPixelFormatNumber(hdc); }

int WINAPI ModuleDescribePixelFormat(HDC hdc, int format, UINT bytes,
                                     PIXELFORMATDESCRIPTOR *descriptor) {
  return DrvDescribePixelFormat(hdc, format, bytes, descriptor);
}

const PlatformExport kModuleExports[] = {
    {"wglGetPixelFormat", reinterpret_cast<void *>(&ModuleGetPixelFormat)},
    {"wglDescribePixelFormat", reinterpret_cast<void *>(&ModuleDescribePixelFormat)},
};

}  // namespace

bool RegisterOpenGl32Module() {
  return PlatformRegisterModule("opengl32.dll", kModuleExports,
                                sizeof kModuleExports / sizeof kModuleExports[0]);
}
